#pragma once

#include "XLSWorkbook.h"

#include <QString>

#include <functional>
#include <memory>

namespace fb::xls {

// A spreadsheet file: a workbook in memory that is written out as a BIFF8 ".xls" file.
//
//     TXLSFile file;
//     TSheet &sheet = file.Workbook().Sheets()[0];
//     sheet.Cells(0, 0).SetValue(CellValue::fromText(QStringLiteral("Abfahrtszeit")));
//     file.SaveAs(fileName);
class TXLSFile {
public:
    // Receives the progress of a save as a fraction from 0 to 1.
    using ProgressCallback = std::function<void(double)>;

    TXLSFile();
    ~TXLSFile();

    TXLSFile(const TXLSFile &) = delete;
    TXLSFile &operator=(const TXLSFile &) = delete;

    TWorkbook &Workbook() noexcept { return *m_workbook; }
    const TWorkbook &Workbook() const noexcept { return *m_workbook; }

    const ProgressCallback &OnProgress() const noexcept { return m_onProgress; }
    void SetOnProgress(ProgressCallback callback) { m_onProgress = std::move(callback); }

    // Leaves the 21 built-in cell formats out of the file; cell format indices then start
    // at 0 in the file.
    bool OmitBuiltInXFs() const noexcept { return m_omitBuiltInXFs; }
    void SetOmitBuiltInXFs(bool omit) noexcept { m_omitBuiltInXFs = omit; }

    // Writes the workbook to fileName, replacing an existing file. Raises EXLSError or
    // ECFileError on failure; the target is then left as it was.
    void SaveAs(const QString &fileName);
    // Encrypted files are not supported: a non-empty password raises an error and writes
    // nothing rather than leaving the data unprotected.
    void SaveAs(const QString &fileName, const QString &password);

private:
    std::unique_ptr<TWorkbook> m_workbook;
    ProgressCallback m_onProgress;
    bool m_omitBuiltInXFs = false;
};

} // namespace fb::xls
