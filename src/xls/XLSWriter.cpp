#include "XLSWriter.h"

#include "BiffStream.h"
#include "CFile.h"
#include "XLSError.h"
#include "XLSFile.h"
#include "XLSSharedStrings.h"

namespace fb::xls {
namespace {

constexpr int kBuiltInXFCount = 21;
constexpr int kStreamBlock = 512;
// The sheet list (EXTERNSHEET) and a sheet's page breaks take six bytes an entry after a
// 2-byte count, all in one record of at most 8224 bytes. A longer list made a record readers
// refuse, and from 10923 entries on wrapped its 16-bit length, so that every later record
// was misread.
constexpr int kMaxListEntries = (BiffStream::kMaxRecordData - 2) / 6;

// Cells refer to cell formats, and cell formats to fonts, by 16-bit file indices; the font
// indices skip 4, and the built-in formats come first. More entries would wrap an index and
// give cells another entry's format.
void checkIndicesFit(const TWorkbook &workbook, int xfOffset)
{
    constexpr int kIndices = 0x10000;
    if (workbook.Fonts().Count() > kIndices - 1)
        throw Error(QStringLiteral("A workbook can hold at most %1 fonts").arg(kIndices - 1));
    if (workbook.XFs().Count() > kIndices - xfOffset) {
        throw Error(
            QStringLiteral("A workbook can hold at most %1 cell formats").arg(kIndices - xfOffset));
    }
}

void checkListsFitTheirRecords(const TSheets &sheets)
{
    if (sheets.Count() > kMaxListEntries)
        throw Error(QStringLiteral("A workbook can hold at most %1 sheets").arg(kMaxListEntries));
    for (int i = 0; i < sheets.Count(); ++i) {
        const TSheet &sheet = sheets[i];
        if (sheet.RowBreaks().size() > std::size_t(kMaxListEntries) ||
            sheet.ColBreaks().size() > std::size_t(kMaxListEntries)) {
            throw Error(QStringLiteral("A sheet can hold at most %1 row and %1 column page breaks")
                            .arg(kMaxListEntries));
        }
    }
}

} // namespace

TXLSWriter::TXLSWriter(const TXLSFile &file)
    : m_file(file), m_workbook(file.Workbook()),
      m_xfOffset(file.OmitBuiltInXFs() ? 0 : kBuiltInXFCount)
{}

TXLSWriter::~TXLSWriter() = default;

void TXLSWriter::Save(const QString &fileName, const QString &password)
{
    if (!password.isEmpty())
        throw Error(QStringLiteral("Writing of password-protected workbooks not supported"));
    TCFile file(TCFileMode::Create, fileName);
    TCFileStream &stream = file.Root().CreateStream("Workbook");
    BiffStream out(stream);
    try {
        WriteWorkbook(out);
        out.PadTo(kStreamBlock);
        out.Flush();
    } catch (const ECFileError &) {
        // Once the file cannot be written, seeks in it fail too; name the cause.
        if (file.HasWriteError())
            throw ECFileError(ECFileError::CommitStorage);
        throw;
    }
    file.Commit();
}

void TXLSWriter::report()
{
    if (OnProgress)
        OnProgress(std::clamp(m_progress, 0.0, 1.0));
}

void TXLSWriter::WriteWorkbook(BiffStream &out)
{
    m_progress = 0.0;
    report();
    const TSheets &sheets = m_workbook.Sheets();
    if (sheets.Count() == 0)
        throw EXLSError(EXLSError::NoSheets);
    checkListsFitTheirRecords(sheets);
    checkIndicesFit(m_workbook, m_xfOffset);

    // The string table lives for this call only, also when writing fails.
    struct Scope {
        TXLSWriter &writer;
        ~Scope()
        {
            writer.m_sst.reset();
            writer.m_out = nullptr;
        }
    } scope{*this};
    m_out = &out;

    m_sst = std::make_unique<TSharedStrings>(m_workbook);
    m_progress = 0.05;
    report();
    // Pictures and shapes would be collected here; the model holds none.
    m_progress = 0.06;
    report();

    WriteGlobals();
    m_progress = 0.1;
    report();

    qint64 cellCount = 0;
    for (int i = 0; i < sheets.Count(); ++i)
        cellCount += sheets[i].Cells().Count();
    m_progressStep = cellCount > 0 ? (0.9 - m_progress) / double(cellCount) : 0.0;

    for (int i = 0; i < sheets.Count(); ++i)
        WriteSheet(i);

    m_progress = 1.0;
    report();
}

double TXLSWriter::DateSerial(double days)
{
    constexpr double k19000101 = 2.0; // days from 1899-12-30
    constexpr double k19000301 = 61.0;
    return days < k19000301 ? days - k19000101 + 1.0 : days - k19000101 + 2.0;
}

} // namespace fb::xls
