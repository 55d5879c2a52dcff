#include "XLSTestUtil.h"
#include "file_bytes.h"
#include "file_size_limit.h"

#include "xls/CFile.h"
#include "xls/XLSError.h"
#include "xls/XLSFile.h"
#include "xls/XLSRecords.h"
#include "xls/XLSWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QFileInfo>

#include <bit>

#include <gtest/gtest.h>

using namespace fb::xls;
using namespace fb::xls::test;
using fb::test::fileBytes;
using fb::test::FileSizeLimit;
using fb::test::writeFileBytes;

namespace {

std::vector<std::uint16_t> ids(const std::vector<Record> &records, std::size_t from, std::size_t to)
{
    std::vector<std::uint16_t> result;
    for (std::size_t i = from; i < to && i < records.size(); ++i)
        result.push_back(records[i].id);
    return result;
}

std::size_t indexOfSecondBof(const std::vector<Record> &records)
{
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].id == biff::BOF)
            return i;
    }
    return records.size();
}

double doubleAt(const QByteArray &data, qsizetype offset)
{
    return std::bit_cast<double>(qFromLittleEndian<quint64>(data.constData() + offset));
}

class WriterTest : public ::testing::Test {
protected:
    std::vector<Record> save(TXLSFile &file)
    {
        m_stream = saveAndReadStream(file, m_dir);
        return parseRecords(m_stream);
    }

    QTemporaryDir m_dir;
    QByteArray m_stream;
};

TEST_F(WriterTest, EmptyWorkbookHasEveryRecordInOrder)
{
    TXLSFile file;
    const std::vector<Record> records = save(file);
    const std::size_t sheetStart = indexOfSecondBof(records);

    std::vector<std::uint16_t> globals = {biff::BOF,          biff::INTERFACEHDR,  biff::MMS,
                                          biff::INTERFACEEND, biff::EXCEL9FILE,    biff::DSF,
                                          biff::TABID,        biff::WINDOWPROTECT, biff::PROTECT,
                                          biff::WINDOW1,      biff::HIDEOBJ,       biff::DATEMODE,
                                          biff::FONT};
    globals.insert(globals.end(), 22, biff::XF);
    globals.insert(globals.end(), 6, biff::STYLE);
    for (const std::uint16_t id : {biff::BOUNDSHEET, biff::SUPBOOK, biff::EXTERNSHEET,
                                   biff::RECALCID, biff::SST, biff::EXTSST, biff::EOF_})
        globals.push_back(id);
    EXPECT_EQ(ids(records, 0, sheetStart), globals);

    // No cells: no DIMENSIONS, but DEFAULTROWHEIGHT and WINDOW2 all the same.
    const std::vector<std::uint16_t> sheet = {biff::BOF,
                                              biff::INDEX,
                                              biff::HORIZONTALPAGEBREAKS,
                                              biff::VERTICALPAGEBREAKS,
                                              biff::SETUP,
                                              biff::WSBOOL,
                                              biff::PRINTHEADERS,
                                              biff::PRINTGRIDLINES,
                                              biff::GUTS,
                                              biff::TOPMARGIN,
                                              biff::BOTTOMMARGIN,
                                              biff::LEFTMARGIN,
                                              biff::RIGHTMARGIN,
                                              biff::HCENTER,
                                              biff::VCENTER,
                                              biff::DEFAULTROWHEIGHT,
                                              biff::WINDOW2,
                                              biff::EOF_};
    EXPECT_EQ(ids(records, sheetStart, records.size()), sheet);

    EXPECT_EQ(m_stream.size() % 512, 0);
    const Record &last = records.back();
    EXPECT_TRUE(m_stream.mid(last.offset + 4).count('\0') == m_stream.size() - last.offset - 4);
}

TEST_F(WriterTest, GlobalsRecordsHaveTheirFixedBytes)
{
    TXLSFile file;
    const std::vector<Record> records = save(file);

    EXPECT_EQ(records[0].data, hexBytes("00 06 05 00 46 18 CD 07 C1 40 00 00 06 01 00 00"));
    EXPECT_EQ(recordsWithId(records, biff::INTERFACEHDR)[0].data, hexBytes("B0 04"));
    EXPECT_EQ(recordsWithId(records, biff::TABID)[0].data, hexBytes("00 00"));
    EXPECT_EQ(recordsWithId(records, biff::WINDOW1)[0].data,
              hexBytes("68 01 0F 00 4C 2C 8B 1A 38 00 00 00 00 00 01 00 58 02"));
    EXPECT_EQ(
        recordsWithId(records, biff::FONT)[0].data,
        hexBytes("C8 00 00 00 40 00 90 01 00 00 00 00 01 00 05 01 41 00 72 00 69 00 61 00 6C 00"));

    const std::vector<Record> xfs = recordsWithId(records, biff::XF);
    ASSERT_EQ(xfs.size(), 22u);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(xfs[i].data,
                  hexBytes("00 00 00 00 F5 FF 20 00 00 00 00 00 00 00 00 00 00 00 C0 20"))
            << i;
    EXPECT_EQ(xfs[15].data,
              hexBytes("00 00 00 00 01 00 20 00 00 00 00 00 00 00 00 00 00 00 C0 20"));
    EXPECT_EQ(xfs[16].data,
              hexBytes("01 00 2C 00 F5 FF 20 00 00 F8 00 00 00 00 00 00 00 00 C0 20"));
    EXPECT_EQ(xfs[20].data,
              hexBytes("01 00 29 00 F5 FF 20 00 00 F8 00 00 00 00 00 00 00 00 C0 20"));
    EXPECT_EQ(xfs[21].data,
              hexBytes("00 00 00 00 01 00 20 00 00 04 00 00 00 00 00 00 00 00 C0 20"));

    QByteArray styles;
    for (const Record &r : recordsWithId(records, biff::STYLE))
        styles += r.data;
    EXPECT_EQ(styles,
              hexBytes("10 80 04 FF 11 80 07 FF 00 80 00 FF 12 80 05 FF 13 80 03 FF 14 80 06 FF"));

    EXPECT_EQ(recordsWithId(records, biff::SUPBOOK)[0].data, hexBytes("01 00 01 04"));
    EXPECT_EQ(recordsWithId(records, biff::EXTERNSHEET)[0].data,
              hexBytes("01 00 00 00 00 00 00 00"));
    EXPECT_EQ(recordsWithId(records, biff::RECALCID)[0].data, hexBytes("C1 01 00 00 60 69 01 00"));
    EXPECT_EQ(recordsWithId(records, biff::SST)[0].data, hexBytes("00 00 00 00 00 00 00 00"));
    EXPECT_EQ(recordsWithId(records, biff::EXTSST)[0].data, hexBytes("00 00"));
}

TEST_F(WriterTest, SheetRecordsHaveTheirDefaultBytes)
{
    TXLSFile file;
    const std::vector<Record> records = save(file);
    const std::vector<Record> bofs = recordsWithId(records, biff::BOF);
    ASSERT_EQ(bofs.size(), 2u);
    EXPECT_EQ(bofs[1].data, hexBytes("00 06 10 00 46 18 CD 07 C1 40 00 00 06 01 00 00"));
    EXPECT_EQ(recordsWithId(records, biff::INDEX)[0].data,
              hexBytes("00 00 00 00 00 00 00 00 FF FF 00 00 00 00 00 00"));
    EXPECT_EQ(recordsWithId(records, biff::HORIZONTALPAGEBREAKS)[0].data, hexBytes("00 00"));
    EXPECT_EQ(recordsWithId(records, biff::SETUP)[0].data,
              hexBytes("00 00 64 00 FF FF 01 00 01 00 02 00 00 00 00 00"
                       "00 00 00 00 00 00 E0 3F 00 00 00 00 00 00 E0 3F 00 00"));
    EXPECT_EQ(recordsWithId(records, biff::WSBOOL)[0].data, hexBytes("C0 04"));
    EXPECT_EQ(recordsWithId(records, biff::GUTS)[0].data, hexBytes("00 00 00 00 00 00 00 00"));
    EXPECT_DOUBLE_EQ(doubleAt(recordsWithId(records, biff::TOPMARGIN)[0].data, 0), 1.0);
    EXPECT_DOUBLE_EQ(doubleAt(recordsWithId(records, biff::LEFTMARGIN)[0].data, 0), 0.8);
    EXPECT_EQ(recordsWithId(records, biff::DEFAULTROWHEIGHT)[0].data, hexBytes("00 00 FF 00"));
    EXPECT_EQ(recordsWithId(records, biff::WINDOW2)[0].data,
              hexBytes("B6 06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
}

TEST_F(WriterTest, BoundSheetOffsetsPointAtEachSheetsBof)
{
    TXLSFile file;
    TSheets &sheets = file.Workbook().Sheets();
    sheets.Add(QStringLiteral("Fahrten 2024"));
    // Enough distinct texts for the globals to outgrow the writer's buffer, so the offsets
    // are back-filled by seeking in the stream itself.
    for (int r = 0; r < 20000; ++r)
        sheets[0]
            .Cells(static_cast<std::uint16_t>(r), 0)
            .SetValue(CellValue::fromText(QStringLiteral("Text %1").arg(r)));
    sheets[1].Cells(0, 0).SetValue(CellValue::fromInteger(7));
    const std::vector<Record> records = save(file);

    const std::vector<Record> boundSheets = recordsWithId(records, biff::BOUNDSHEET);
    ASSERT_EQ(boundSheets.size(), 2u);
    EXPECT_EQ(boundSheets[1].data.mid(4),
              hexBytes("00 00 0C 01") + QByteArray("F\0a\0h\0r\0t\0e\0n\0 \0"
                                                   "2\0"
                                                   "0\0"
                                                   "2\0"
                                                   "4\0",
                                                   24));
    for (const Record &boundSheet : boundSheets) {
        const std::uint32_t offset = dword(boundSheet.data, 0);
        ASSERT_LT(offset + 8, static_cast<std::uint32_t>(m_stream.size()));
        EXPECT_EQ(word(m_stream, offset), biff::BOF);
        EXPECT_EQ(word(m_stream, offset + 6), biff::kWorksheet);
    }
    EXPECT_GT(dword(boundSheets[0].data, 0), 65536u);

    const std::vector<Record> windows = recordsWithId(records, biff::WINDOW2);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(word(windows[0].data, 0), 0x06B6);
    EXPECT_EQ(word(windows[1].data, 0), 0x04B6); // only the first sheet is selected
    EXPECT_EQ(recordsWithId(records, biff::TABID)[0].data, hexBytes("00 00 01 00"));
    EXPECT_EQ(recordsWithId(records, biff::EXTERNSHEET)[0].data,
              hexBytes("02 00 00 00 00 00 00 00 00 00 01 00 01 00"));
}

TEST_F(WriterTest, DimensionsCoverAllCells)
{
    TXLSFile file;
    file.Workbook().Sheets()[0].Cells(65535, 255).SetValue(CellValue::fromAnsiString("x"));
    std::vector<Record> records = save(file);
    EXPECT_EQ(recordsWithId(records, biff::DIMENSIONS)[0].data,
              hexBytes("FF FF 00 00 00 00 01 00 FF 00 00 01 00 00"));

    // An export of three trips: a header row of seven and three rows of ten cells.
    TXLSFile trips;
    TSheet &sheet = trips.Workbook().Sheets()[0];
    for (std::uint16_t c = 0; c < 7; ++c)
        sheet.Cells(0, c).SetValue(CellValue::fromAnsiString("Kopf"));
    for (std::uint16_t r = 1; r <= 3; ++r) {
        for (std::uint16_t c = 0; c < 10; ++c)
            sheet.Cells(r, c).SetValue(CellValue::fromAnsiString(QByteArray::number(r * 10 + c)));
    }
    records = save(trips);
    EXPECT_EQ(recordsWithId(records, biff::DIMENSIONS)[0].data,
              hexBytes("00 00 00 00 04 00 00 00 00 00 0A 00 00 00"));
    const std::vector<Record> labels = recordsWithId(records, biff::LABELSST);
    ASSERT_EQ(labels.size(), 37u);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::uint16_t row = i < 7 ? 0 : static_cast<std::uint16_t>(1 + (i - 7) / 10);
        const std::uint16_t col =
            i < 7 ? static_cast<std::uint16_t>(i) : static_cast<std::uint16_t>((i - 7) % 10);
        EXPECT_EQ(word(labels[i].data, 0), row);
        EXPECT_EQ(word(labels[i].data, 2), col);
        EXPECT_EQ(word(labels[i].data, 4), 21); // the first user cell format
    }
    EXPECT_EQ(dword(labels[6].data, 6), 0u); // "Kopf" shared by the header cells
    EXPECT_EQ(dword(labels[7].data, 6), 1u);
}

TEST_F(WriterTest, CellRecordsFollowFirstAssignmentAndValueKind)
{
    TXLSFile file;
    TSheet &sheet = file.Workbook().Sheets()[0];
    sheet.Cells(5, 1).SetValue(CellValue::fromInteger(42));
    sheet.Cells(2, 0).SetValue(CellValue::fromBool(true));
    sheet.Cells(3, 0).SetValue(CellValue::fromDate(61.25));           // 1900-03-01 06:00
    sheet.Cells(4, 0).SetValue(CellValue::fromCurrencyScaled(12345)); // 1.2345
    sheet.Cells(5, 1).SetValue(CellValue::fromSingle(0.5f));
    const std::vector<Record> records = save(file);

    std::vector<std::uint16_t> cellIds;
    for (const Record &r : records) {
        if (r.id == biff::NUMBER || r.id == biff::BOOLERR || r.id == biff::LABELSST ||
            r.id == biff::BLANK)
            cellIds.push_back(r.id);
    }
    EXPECT_EQ(cellIds, (std::vector<std::uint16_t>{biff::NUMBER, biff::BOOLERR, biff::NUMBER,
                                                   biff::NUMBER}));

    const std::vector<Record> numbers = recordsWithId(records, biff::NUMBER);
    EXPECT_EQ(numbers[0].data.left(6), hexBytes("05 00 01 00 15 00"));
    EXPECT_DOUBLE_EQ(doubleAt(numbers[0].data, 6), 0.5);
    EXPECT_DOUBLE_EQ(doubleAt(numbers[1].data, 6), 61.25);
    EXPECT_DOUBLE_EQ(doubleAt(numbers[2].data, 6), 1.2345);
    // The date cell got a cell format of its own, the date format: cell format 22 in the file.
    EXPECT_EQ(word(numbers[1].data, 4), 22);
    const std::vector<Record> xfs = recordsWithId(records, biff::XF);
    ASSERT_EQ(xfs.size(), 23u);
    EXPECT_EQ(word(xfs[22].data, 2), 14); // file index of "mm/dd/yy"
    EXPECT_EQ(recordsWithId(records, biff::BOOLERR)[0].data, hexBytes("02 00 00 00 15 00 01 00"));
}

TEST(WriterDates, SerialCountsTheMissingLeapDay)
{
    EXPECT_DOUBLE_EQ(TXLSWriter::DateSerial(2.0), 1.0);   // 1900-01-01
    EXPECT_DOUBLE_EQ(TXLSWriter::DateSerial(60.0), 59.0); // 1900-02-28
    EXPECT_DOUBLE_EQ(TXLSWriter::DateSerial(61.0), 61.0); // 1900-03-01
    EXPECT_DOUBLE_EQ(TXLSWriter::DateSerial(45292.75), 45292.75);
}

TEST_F(WriterTest, OmittedBuiltInFormatsShiftCellFormats)
{
    TXLSFile file;
    file.SetOmitBuiltInXFs(true);
    file.Workbook().Sheets()[0].Cells(0, 0).SetValue(CellValue::fromAnsiString("a"));
    const std::vector<Record> records = save(file);
    EXPECT_EQ(recordsWithId(records, biff::XF).size(), 1u);
    EXPECT_EQ(word(recordsWithId(records, biff::LABELSST)[0].data, 4), 0);
}

TEST_F(WriterTest, FontsAndFormatsOfTheTablesAreWritten)
{
    TXLSFile file;
    TWorkbook &book = file.Workbook();
    TSheet &sheet = book.Sheets()[0];
    const char *faces[] = {"Times", "Courier", "Verdana", "Tahoma"};
    for (std::uint16_t c = 0; c < 4; ++c) {
        TCell &cell = sheet.Cells(0, c);
        cell.SetValue(CellValue::fromInteger(c));
        cell.SetFontName(QString::fromLatin1(faces[c]));
    }
    TCell &styled = sheet.Cells(1, 0);
    styled.SetValue(CellValue::fromInteger(9));
    styled.SetFontBold(true);
    styled.SetFontItalic(true);
    styled.SetFontUnderline(true);
    styled.SetFillPattern(1);
    styled.SetBackgroundColorIndex(2);
    styled.SetBorderStyle(BorderSide::Top, 1);
    styled.SetBorderColorIndex(BorderSide::Top, 1);
    styled.SetFormatStringIndex(book.FormatStrings().Add(QStringLiteral("0.0 \"km\"")));
    const std::vector<Record> records = save(file);

    // Table fonts 0 to 3 are file fonts 0 to 3; file font 4 is a filler; table font 4
    // ("Tahoma") is file font 5, where its cell format points.
    const std::vector<Record> fonts = recordsWithId(records, biff::FONT);
    // Bold, bold italic and bold italic underlined each added a font: 8 in the table.
    ASSERT_EQ(fonts.size(), 9u);
    const std::vector<Record> xfs = recordsWithId(records, biff::XF);
    const std::uint16_t tahomaFont = word(xfs[21 + 4].data, 0);
    EXPECT_EQ(tahomaFont, 5);
    EXPECT_EQ(fonts[tahomaFont].data.mid(16), QByteArray("T\0a\0h\0o\0m\0a\0", 12));
    EXPECT_EQ(fonts[4].data, fonts[0].data);

    const Record &styledFont = fonts[8];
    EXPECT_EQ(styledFont.data.left(12), hexBytes("C8 00 02 00 40 00 BC 02 00 00 01 00"));

    const std::vector<Record> formats = recordsWithId(records, biff::FORMAT);
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(formats[0].data.left(5), hexBytes("32 00 08 00 01"));

    const QByteArray &xf = xfs.back().data;
    EXPECT_EQ(word(xf, 0), 8);              // font
    EXPECT_EQ(word(xf, 2), 50);             // file format index
    EXPECT_EQ(word(xf, 10), 0x0100);        // top border thin
    EXPECT_EQ(dword(xf, 12), 8u << 16);     // top colour 1 + 7, in byte 14
    EXPECT_EQ(dword(xf, 14) >> 26, 1u);     // solid fill
    EXPECT_EQ(word(xf, 18), 9 | (64 << 7)); // solid: pattern and background swapped
}

TEST_F(WriterTest, ProgressRunsFromZeroToOne)
{
    TXLSFile file;
    for (std::uint16_t r = 0; r < 40; ++r)
        file.Workbook().Sheets()[0].Cells(r, 0).SetValue(CellValue::fromInteger(r));
    std::vector<double> reports;
    file.SetOnProgress([&](double p) { reports.push_back(p); });
    save(file);

    ASSERT_EQ(reports.size(), 4u + 40u + 1u);
    EXPECT_EQ(reports[0], 0.0);
    EXPECT_EQ(reports[1], 0.05);
    EXPECT_EQ(reports[2], 0.06);
    EXPECT_EQ(reports[3], 0.1);
    EXPECT_NEAR(reports[43], 0.9, 1e-9);
    EXPECT_EQ(reports.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
}

TEST_F(WriterTest, FailedSavesRaiseAndLeaveTheTargetAlone)
{
    const QString target = m_dir.filePath(QStringLiteral("kept.xls"));
    ASSERT_TRUE(writeFileBytes(target, "previous export"));

    TXLSFile empty;
    empty.Workbook().Sheets().Delete(0);
    try {
        empty.SaveAs(target);
        FAIL() << "no error for a workbook without sheets";
    } catch (const EXLSError &e) {
        EXPECT_EQ(e.code(), 12);
        EXPECT_EQ(e.message(), QStringLiteral("There are no sheets in the workbook"));
    }
    EXPECT_EQ(fileBytes(target), QByteArray("previous export"));

    TXLSFile file;
    file.Workbook().Sheets()[0].Cells(0, 0).SetValue(CellValue::fromAnsiString("a"));
    for (const QString &bad :
         {m_dir.filePath(QStringLiteral("no/such/folder/out.xls")), m_dir.path()}) {
        try {
            file.SaveAs(bad);
            FAIL() << "no error for " << bad.toStdString();
        } catch (const ECFileError &e) {
            EXPECT_EQ(e.code(), 0);
            EXPECT_EQ(e.message(), QStringLiteral("Can not create a docfile"));
        }
    }

    EXPECT_THROW(file.SaveAs(m_dir.filePath(QStringLiteral("secret.xls")), QStringLiteral("pw")),
                 fb::Error);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("secret.xls"))));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(WriterTest, LongHeaderIsCutAfter255UnitsButNeverInsideACharacter)
{
    const QString car = QStringLiteral("\U0001F697");
    for (const int before : {251, 252}) {
        TXLSFile file;
        TPageSetup &setup = file.Workbook().Sheets()[0].PageSetup();
        setup.headerCenter = QString(before, QLatin1Char('k')) + car + QStringLiteral("danach");
        setup.footerLeft = QString(300, QChar(0x00FC));
        const std::vector<Record> records = save(file);
        const std::vector<Record> header = recordsWithId(records, biff::HEADER);
        ASSERT_EQ(header.size(), 1u);
        const QByteArray &data = header[0].data;
        const auto units = word(data, 0);
        EXPECT_EQ(data.size(), 3 + 2 * units);
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t *>(data.constData() + 3), units);
        // "&C" and the text: the pair ends at unit 255 after 251 characters; after 252 it
        // would not fit whole.
        EXPECT_EQ(text.toStdString(),
                  QString(QStringLiteral("&C") + QString(before, QLatin1Char('k')) +
                          (before == 251 ? car : QString()))
                      .toStdString());
        const std::vector<Record> footer = recordsWithId(records, biff::FOOTER);
        ASSERT_EQ(footer.size(), 1u);
        EXPECT_EQ(word(footer[0].data, 0), 255);
    }
}

TEST_F(WriterTest, ListsLongerThanOneRecordHoldsAreRefused)
{
    // Six bytes an entry after the count: 1370 entries fill a record of 8222 bytes.
    constexpr std::size_t kMost = 1370;
    const QString target = m_dir.filePath(QStringLiteral("kept.xls"));
    ASSERT_TRUE(writeFileBytes(target, "previous export"));
    auto refused = [&](TXLSFile &file) {
        try {
            file.SaveAs(target);
        } catch (const fb::Error &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("at most 1370"))) << e.what();
            return fileBytes(target) == "previous export";
        }
        return false;
    };

    TXLSFile breaks;
    TSheet &sheet = breaks.Workbook().Sheets()[0];
    for (std::uint16_t i = 0; i < kMost; ++i) {
        sheet.RowBreaks().push_back(std::uint16_t(10 + i));
        sheet.ColBreaks().push_back(std::uint16_t(i % 255 + 1));
    }
    const std::vector<Record> records = save(breaks);
    for (const std::uint16_t id : {biff::HORIZONTALPAGEBREAKS, biff::VERTICALPAGEBREAKS}) {
        const std::vector<Record> found = recordsWithId(records, id);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].data.size(), 8222);
        EXPECT_EQ(word(found[0].data, 0), kMost);
    }
    EXPECT_EQ(records.back().id, biff::EOF_);
    sheet.RowBreaks().push_back(9);
    EXPECT_TRUE(refused(breaks));
    sheet.RowBreaks().pop_back();
    sheet.ColBreaks().push_back(9);
    EXPECT_TRUE(refused(breaks));

    TXLSFile sheets;
    for (std::size_t i = 1; i < kMost; ++i)
        sheets.Workbook().Sheets().Add(QString::number(i));
    const std::vector<Record> external = recordsWithId(save(sheets), biff::EXTERNSHEET);
    ASSERT_EQ(external.size(), 1u);
    EXPECT_EQ(word(external[0].data, 0), kMost);
    sheets.Workbook().Sheets().Add(QStringLiteral("eine zu viel"));
    EXPECT_TRUE(refused(sheets));
}

TEST_F(WriterTest, MoreFontsOrCellFormatsThan16BitIndicesReachAreRefused)
{
    const QString target = m_dir.filePath(QStringLiteral("kept.xls"));
    ASSERT_TRUE(writeFileBytes(target, "previous export"));
    auto refused = [&](TXLSFile &file, const QString &what) {
        try {
            file.SaveAs(target);
        } catch (const fb::Error &e) {
            EXPECT_TRUE(e.message().contains(what)) << e.what();
            return fileBytes(target) == "previous export";
        }
        return false;
    };

    // Font indices skip 4, so 65535 fonts use the last index, 0xFFFF.
    TXLSFile fonts;
    TFontRecord font;
    while (fonts.Workbook().Fonts().Count() < 0xFFFF) {
        font.name = QString::number(fonts.Workbook().Fonts().Count());
        fonts.Workbook().Fonts().Intern(font);
    }
    const std::vector<Record> written = recordsWithId(save(fonts), biff::FONT);
    EXPECT_EQ(written.size(), 0x10000u);
    fonts.Workbook().Fonts().Intern(TFontRecord{.name = QStringLiteral("eine zu viel")});
    EXPECT_TRUE(refused(fonts, QStringLiteral("at most 65535 fonts")));

    // The 21 built-in cell formats come first.
    for (const bool omitBuiltIns : {false, true}) {
        TXLSFile formats;
        formats.SetOmitBuiltInXFs(omitBuiltIns);
        const int most = omitBuiltIns ? 0x10000 : 0x10000 - 21;
        TXFRecord xf;
        for (int i = 1; formats.Workbook().XFs().Count() < most; ++i) {
            xf.patternColor = std::uint8_t(i);
            xf.backgroundColor = std::uint8_t(i >> 8);
            formats.Workbook().XFs().Intern(xf);
        }
        EXPECT_EQ(recordsWithId(save(formats), biff::XF).size(), 0x10000u);
        xf.rotation = 90;
        formats.Workbook().XFs().Intern(xf);
        EXPECT_TRUE(refused(formats, QStringLiteral("at most %1 cell formats").arg(most)));
    }
}

TEST(WriterFailures, WriteFailureIsReportedNotSuccess)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("full.xls"));
    ASSERT_TRUE(writeFileBytes(target, "previous export"));
    TXLSFile file;
    for (std::uint16_t r = 0; r < 20000; ++r)
        file.Workbook().Sheets()[0].Cells(r, 0).SetValue(
            CellValue::fromText(QStringLiteral("Zeile %1").arg(r)));

    int code = -1;
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        try {
            file.SaveAs(target);
        } catch (const ECFileError &e) {
            code = e.code();
        }
    }
    EXPECT_EQ(code, 7);
    EXPECT_EQ(fileBytes(target), QByteArray("previous export"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "temporary file left";

    file.SaveAs(target); // without the limit the same save succeeds
    EXPECT_GT(QFileInfo(target).size(), 64 * 1024);

    // A small workbook goes out only when the container is closed.
    TXLSFile small;
    small.Workbook().Sheets()[0].Cells(0, 0).SetValue(CellValue::fromText(QStringLiteral("klein")));
    FileSizeLimit limit(1024);
    try {
        small.SaveAs(dir.filePath(QStringLiteral("small.xls")));
        ADD_FAILURE() << "a failed close was reported as success";
    } catch (const ECFileError &e) {
        EXPECT_EQ(e.code(), 7);
        EXPECT_EQ(e.message(), QStringLiteral("Can not commit a storage"));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("small.xls"))));
}

} // namespace
