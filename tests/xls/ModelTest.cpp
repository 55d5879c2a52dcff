#include "xls/XLSError.h"
#include "xls/XLSFile.h"

#include <gtest/gtest.h>

using namespace fb::xls;

namespace {

template<typename Fn> EXLSError expectXLSError(Fn &&fn)
{
    try {
        fn();
    } catch (const EXLSError &e) {
        return e;
    }
    ADD_FAILURE() << "no EXLSError raised";
    return EXLSError(1);
}

TEST(WorkbookModel, NewFileHasOneSheetAndDefaultTables)
{
    TXLSFile file;
    const TWorkbook &book = file.Workbook();
    ASSERT_EQ(book.Sheets().Count(), 1);
    EXPECT_EQ(book.Sheets()[0].Name(), QStringLiteral("Sheet1"));
    EXPECT_EQ(book.Sheets()[0].Index(), 0);
    EXPECT_EQ(book.Sheets()[0].Cells().Count(), 0);

    ASSERT_EQ(book.Fonts().Count(), 1);
    const TFontRecord font = book.Fonts().Font(0);
    EXPECT_EQ(font.name, QStringLiteral("Arial"));
    EXPECT_EQ(font.heightPoints, 10);
    EXPECT_EQ(font.colorIndex, 57);
    EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikeOut);

    ASSERT_EQ(book.XFs().Count(), 1);
    const TXFRecord xf = book.XFs().XF(0);
    EXPECT_EQ(xf.vAlign, 2);
    EXPECT_EQ(xf.patternColor, 57);
    EXPECT_EQ(xf.backgroundColor, 58);
    EXPECT_TRUE(xf.locked);
    EXPECT_FALSE(xf.styleRecord);

    const TSheet &sheet = book.Sheets()[0];
    EXPECT_TRUE(sheet.View().showGridLines);
    EXPECT_EQ(sheet.View().zoom, 100);
    EXPECT_DOUBLE_EQ(sheet.PageSetup().leftMargin, 0.8);
    EXPECT_EQ(sheet.PageSetup().firstPageNumber, 0xFFFF);
}

TEST(WorkbookModel, BuiltInFormatsMapPositionsToFileIndices)
{
    const TFormatStrings formats;
    ASSERT_EQ(formats.Count(), 36);
    EXPECT_EQ(formats.Text(0), QStringLiteral("General"));
    EXPECT_EQ(formats.Text(13), QStringLiteral("mm/dd/yy"));
    EXPECT_EQ(formats.Text(35), QStringLiteral("@"));
    const std::pair<int, int> expected[] = {{3, 3},   {4, 5},   {21, 22}, {22, 42}, {23, 41},
                                            {24, 44}, {25, 43}, {26, 4},  {27, 37}, {30, 40},
                                            {31, 45}, {34, 48}, {35, 49}};
    for (const auto &[position, fileIndex] : expected)
        EXPECT_EQ(formats.FileIndex(position), fileIndex) << "position " << position;

    TFormatStrings added;
    EXPECT_EQ(added.Add(QStringLiteral("0.000")), 36);
    EXPECT_EQ(added.FileIndex(36), 50);
    EXPECT_EQ(added.Add(QStringLiteral("0.000")), 36);
    EXPECT_EQ(added.Add(QStringLiteral("General")), 0);
    EXPECT_THROW(added.Add(QString(256, QLatin1Char('0'))), EXLSError);
}

TEST(WorkbookModel, CellAddressLimits)
{
    TXLSFile file;
    TSheet &sheet = file.Workbook().Sheets()[0];
    sheet.Cells(0, 255).SetValue(CellValue::fromInteger(1));
    sheet.Cells(65535, 0).SetValue(CellValue::fromInteger(2));
    EXPECT_EQ(sheet.Cells().Count(), 2);

    const EXLSError e = expectXLSError([&] { sheet.Cells(0, 256); });
    EXPECT_EQ(e.code(), 5);
    EXPECT_EQ(e.message(), QStringLiteral("Invalid row or column number"));
    EXPECT_EQ(sheet.Cells().Count(), 2);
}

TEST(WorkbookModel, CellsKeepFirstAssignmentOrder)
{
    TXLSFile file;
    TCells &cells = file.Workbook().Sheets()[0].Cells();
    cells.Cell(5, 0).SetValue(CellValue::fromAnsiString("a"));
    cells.Cell(2, 0).SetValue(CellValue::fromAnsiString("b"));
    cells.Cell(5, 0).SetValue(CellValue::fromAnsiString("c")); // stays first
    cells.Cell(9, 9);                                          // looked up, never assigned
    cells.Cell(3, 1).SetValue(CellValue::fromAnsiString(""));  // an empty text is a cell

    ASSERT_EQ(cells.Count(), 3);
    EXPECT_EQ(cells.Item(0).Row(), 5);
    EXPECT_EQ(cells.Item(0).Value(), CellValue::fromAnsiString("c"));
    EXPECT_EQ(cells.Item(1).Row(), 2);
    EXPECT_EQ(cells.Item(2).Row(), 3);
    EXPECT_EQ(cells.Find(9, 9), nullptr);
    EXPECT_EQ(cells.Find(2, 0), &cells.Item(1));

    try {
        cells.Item(3);
        FAIL() << "no range error";
    } catch (const ERangeError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("List index (3) out of bounds"));
    }
}

TEST(WorkbookModel, CellsStayFoundFilledInOrderAndOutOfIt)
{
    TXLSFile file;
    TCells &cells = file.Workbook().Sheets()[0].Cells();
    const auto fill = [&](int fromRow, int toRow) {
        for (int row = fromRow; row < toRow; ++row) {
            for (int col = 0; col < 10; ++col)
                cells.Cell(std::uint16_t(row), std::uint16_t(col))
                    .SetValue(CellValue::fromInteger(row));
        }
    };
    // The cells listed from position first on hold rows fromRow to toRow.
    const auto expectAllFound = [&](int fromRow, int toRow, int first) {
        for (int row = fromRow; row < toRow; ++row) {
            for (int col = 0; col < 10; ++col) {
                const TCell *cell = cells.Find(std::uint16_t(row), std::uint16_t(col));
                ASSERT_NE(cell, nullptr) << row << "/" << col;
                ASSERT_EQ(cell, &cells.Item(first + (row - fromRow) * 10 + col));
            }
        }
    };
    // In order: found without an index.
    fill(3000, 6000);
    expectAllFound(3000, 6000, 0);
    EXPECT_EQ(cells.Find(2999, 9), nullptr);
    EXPECT_EQ(cells.Find(6000, 0), nullptr);
    // Rows above those there: the index is built and outgrows its first size twice.
    fill(0, 3000);
    expectAllFound(3000, 6000, 0);
    expectAllFound(0, 3000, 30000);
    EXPECT_EQ(cells.Find(6000, 0), nullptr);
    EXPECT_EQ(cells.Count(), 60000);
}

TEST(WorkbookModel, PendingCellIsReplacedByTheNextMissingLookup)
{
    TXLSFile file;
    TCells &cells = file.Workbook().Sheets()[0].Cells();
    TCell &first = cells.Cell(1, 1);
    EXPECT_EQ(&cells.Cell(1, 1), &first); // same missing address, same pending cell
    TCell &second = cells.Cell(2, 2);
    second.SetValue(CellValue::fromBool(true));
    second.SetValue(CellValue::fromBool(false)); // still valid after joining the list
    ASSERT_EQ(cells.Count(), 1);
    EXPECT_EQ(cells.Item(0).Row(), 2);
    EXPECT_FALSE(cells.Item(0).Value().toBool());
}

TEST(WorkbookModel, RefusedValuesLeaveTheCellUnchanged)
{
    TXLSFile file;
    TCells &cells = file.Workbook().Sheets()[0].Cells();
    TCell &cell = cells.Cell(0, 0);
    cell.SetValue(CellValue::fromDouble(1.5));

    for (const VarType kind : {VarType::Empty, VarType::Null, VarType::Error, VarType::Dispatch,
                               VarType::Decimal, VarType::Unknown}) {
        const EXLSError e = expectXLSError([&] { cell.SetValue(CellValue::ofKind(kind)); });
        EXPECT_EQ(e.code(), 3);
        EXPECT_EQ(e.message(), QStringLiteral("Invalid cell value or type"));
    }
    EXPECT_EQ(expectXLSError([&] {
                  cell.SetValue(CellValue::fromAnsiString(QByteArray(65536, 'x')));
              }).code(),
              3);
    EXPECT_EQ(expectXLSError([&] {
                  cell.SetValue(CellValue::fromWideString(QString(65536, QChar(0x20AC))));
              }).code(),
              3);
    EXPECT_EQ(cell.Value(), CellValue::fromDouble(1.5));

    cell.SetValue(CellValue::fromWideString(QString(65535, QLatin1Char('y'))));
    EXPECT_EQ(cell.Value().textLength(), 65535);

    // A value made from a kind alone carries that kind's zero.
    cell.SetValue(CellValue::ofKind(VarType::Integer));
    EXPECT_EQ(cell.Value(), CellValue::fromInteger(0));

    // A refused first value leaves no cell behind.
    EXPECT_THROW(cells.Cell(4, 4).SetValue(CellValue()), EXLSError);
    EXPECT_EQ(cells.Count(), 1);
}

TEST(WorkbookModel, FirstDateSwitchesGeneralToDateFormat)
{
    TXLSFile file;
    TWorkbook &book = file.Workbook();
    TCells &cells = book.Sheets()[0].Cells();

    TCell &dated = cells.Cell(0, 0);
    dated.SetValue(CellValue::fromDate(45000.5));
    EXPECT_EQ(dated.XF().formatIndex, TFormatStrings::kDate);

    TCell &percent = cells.Cell(0, 1);
    percent.SetFormatStringIndex(9);
    percent.SetValue(CellValue::fromDate(45000.0));
    EXPECT_EQ(percent.XF().formatIndex, 9);

    // Back to General, a later date does not switch again while the value stays a date.
    dated.SetFormatStringIndex(TFormatStrings::kGeneral);
    dated.SetValue(CellValue::fromDate(1.0));
    EXPECT_EQ(dated.XF().formatIndex, TFormatStrings::kGeneral);

    EXPECT_EQ(CellValue::fromDateTime(QDateTime(QDate(1900, 3, 1), QTime(12, 0))).toDouble(), 61.5);
}

TEST(WorkbookModel, SheetNamesAreValidated)
{
    TXLSFile file;
    TSheets &sheets = file.Workbook().Sheets();

    EXPECT_EQ(expectXLSError([&] { sheets.Add(QStringLiteral("Sheet1")); }).code(), 6);
    EXPECT_EQ(expectXLSError([&] { sheets.Add(QStringLiteral(" \t ")); }).message(),
              QStringLiteral("Invalid or duplicated sheet name"));
    const EXLSError tooLong = expectXLSError([&] { sheets.Add(QString(256, QLatin1Char('n'))); });
    EXPECT_EQ(tooLong.code(), 7);
    EXPECT_EQ(tooLong.message(), QStringLiteral("Sheet name must have a length 1..255"));
    EXPECT_EQ(expectXLSError([&] { sheets.Add(QString()); }).code(), 7);
    EXPECT_EQ(sheets.Count(), 1);

    TSheet &lower = sheets.Add(QStringLiteral("sheet1"));
    EXPECT_EQ(lower.Index(), 1);
    sheets.Add(QString(255, QLatin1Char('n')));

    lower.SetName(QStringLiteral("sheet1")); // its own name is no duplicate
    EXPECT_THROW(lower.SetName(QStringLiteral("Sheet1")), EXLSError);
    EXPECT_EQ(lower.Name(), QStringLiteral("sheet1"));
    lower.SetName(QStringLiteral("Fahrten"));
    EXPECT_EQ(sheets[1].Name(), QStringLiteral("Fahrten"));

    try {
        sheets[5];
        FAIL() << "no range error";
    } catch (const ERangeError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("List index (5) out of bounds !"));
    }
    sheets.Delete(0);
    EXPECT_EQ(sheets[0].Index(), 0);
    EXPECT_EQ(sheets[0].Name(), QStringLiteral("Fahrten"));
}

TEST(WorkbookModel, AttributeChangesInternSharedRecords)
{
    TXLSFile file;
    TWorkbook &book = file.Workbook();
    TCells &cells = book.Sheets()[0].Cells();
    TCell &a = cells.Cell(0, 0);
    a.SetValue(CellValue::fromInteger(1));
    TCell &b = cells.Cell(0, 1);
    b.SetValue(CellValue::fromInteger(2));

    a.SetFontBold(true);
    b.SetFontBold(true);
    EXPECT_EQ(a.XFIndex(), b.XFIndex());
    EXPECT_EQ(book.Fonts().Count(), 2);
    EXPECT_EQ(book.XFs().Count(), 2);
    EXPECT_EQ(book.XFs().RefCount(a.XFIndex()), 2);
    EXPECT_TRUE(a.Font().bold);

    b.SetFontBold(true); // unchanged value: nothing happens
    EXPECT_EQ(book.XFs().RefCount(b.XFIndex()), 2);

    b.SetFontBold(false); // back to the original entries, which stay where they are
    EXPECT_EQ(b.XFIndex(), 0);
    EXPECT_EQ(book.XFs().RefCount(a.XFIndex()), 1);
    EXPECT_EQ(book.XFs().Count(), 2);

    a.SetBackgroundColorRGB(0xFF0000);
    EXPECT_EQ(a.XF().backgroundColor, 3); // file palette index 10, the first red
    EXPECT_EQ(expectXLSError([&] { a.SetIndent(16); }).code(), 4);
    a.SetIndent(15);
    EXPECT_EQ(a.XF().indent, 15);

    // A formatted row hands its format to new cells.
    TRow &row = book.Sheets()[0].Rows()[7];
    row.SetHAlign(2);
    EXPECT_EQ(cells.Cell(7, 3).XFIndex(), row.XFIndex());
}

TEST(WorkbookModel, ReleaseNeverGoesBelowZero)
{
    TVirtualDataTable table(2);
    const int index = table.Intern("ab");
    EXPECT_EQ(table.Intern("ab"), index);
    EXPECT_EQ(table.Intern("cd"), 1);
    table.Release(index);
    table.Release(index);
    table.Release(index);
    EXPECT_EQ(table.RefCount(index), 0);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Record(index), QByteArrayView("ab"));
}

TEST(WorkbookModel, ErrorMessagesFillTheirArgument)
{
    EXPECT_EQ(EXLSError(2, QStringLiteral("Workbook")).message(),
              QStringLiteral("Stream not found: Workbook. File format is not Excel 97 or higher."));
    EXPECT_EQ(EXLSError(9, QStringLiteral("FOO")).message(),
              QStringLiteral("Invalid function in formula: FOO"));
    EXPECT_EQ(EXLSError(12).message(), QStringLiteral("There are no sheets in the workbook"));
    EXPECT_EQ(EXLSError(14).message(),
              QStringLiteral("Reading of password-protected workbooks not supported"));
    for (int code = 1; code <= 14; ++code)
        EXPECT_FALSE(EXLSError::messageFor(code).isEmpty()) << code;
}

TEST(WorkbookModel, TextValueChoosesTheFormThatKeepsEveryCharacter)
{
    const CellValue umlauts = CellValue::fromText(QStringLiteral("Gelöscht 5 €"));
    EXPECT_EQ(umlauts.kind(), VarType::String);
    EXPECT_EQ(umlauts.ansiBytes(), QByteArray("Gel\xF6scht 5 \x80"));
    EXPECT_EQ(umlauts.toString(), QStringLiteral("Gelöscht 5 €"));
    const CellValue czech = CellValue::fromText(QStringLiteral("Plzeň"));
    EXPECT_EQ(czech.kind(), VarType::OleStr);
    EXPECT_EQ(czech.toString(), QStringLiteral("Plzeň"));

    // SetText stores the same values straight into the sheet.
    TXLSFile file;
    TCells &cells = file.Workbook().Sheets()[0].Cells();
    const QString texts[] = {QStringLiteral("Gelöscht 5 €"), QStringLiteral("Plzeň"), QString(),
                             QStringLiteral("Köln – Łódź")};
    for (std::uint16_t row = 0; row < 4; ++row) {
        cells.Cell(row, 0).SetText(texts[row]);
        cells.Cell(row, 1).SetValue(CellValue::fromText(texts[row]));
        cells.Cell(row, 0).SetText(texts[row]); // unchanged on repetition
        EXPECT_EQ(cells.Find(row, 0)->Value(), cells.Find(row, 1)->Value()) << row;
    }
    EXPECT_EQ(cells.Count(), 8);
    EXPECT_EQ(cells.Find(0, 0)->Kind(), VarType::String);
    EXPECT_EQ(cells.Find(1, 0)->Kind(), VarType::OleStr);
    EXPECT_EQ(cells.Find(1, 0)->WideText(), QStringLiteral("Plzeň"));
    cells.Cell(1, 0).SetText(QStringLiteral("Pilsen"));
    EXPECT_EQ(cells.Find(1, 0)->Value(), CellValue::fromAnsiString("Pilsen"));
    EXPECT_THROW(cells.Cell(9, 0).SetText(QString(65536, QLatin1Char('x'))), EXLSError);
    EXPECT_EQ(cells.Count(), 8);
}

} // namespace
