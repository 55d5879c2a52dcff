#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace fb::xls {

class BiffStream;
class TSharedStrings;
class TSheet;
class TWorkbook;
class TXLSFile;

// Writes a workbook as the BIFF8 stream "Workbook" of a new compound file: the workbook
// globals, then one worksheet substream per sheet, padded to whole 512-byte blocks.
class TXLSWriter {
public:
    explicit TXLSWriter(const TXLSFile &file);
    ~TXLSWriter();

    TXLSWriter(const TXLSWriter &) = delete;
    TXLSWriter &operator=(const TXLSWriter &) = delete;

    std::function<void(double)> OnProgress;

    // Creates the file and writes it; on any failure the target is left as it was.
    void Save(const QString &fileName, const QString &password = {});

    // The whole stream content: globals and sheets, without the padding.
    void WriteWorkbook(BiffStream &out);

    // The serial day number of a date in the file's 1900 date system, from days since
    // 1899-12-30. The file counts a 29 February 1900 that never was.
    static double DateSerial(double days);

private:
    void WriteGlobals();
    void WriteSheet(int index);

    void writeCells(const TSheet &sheet, int index);
    void report();

    const TXLSFile &m_file;
    const TWorkbook &m_workbook;
    BiffStream *m_out = nullptr;
    std::unique_ptr<TSharedStrings> m_sst;
    std::vector<qint64> m_boundSheetFields; // offset field of each sheet's BOUNDSHEET
    int m_xfOffset = 21;
    double m_progress = 0.0;
    double m_progressStep = 0.0;
};

} // namespace fb::xls
