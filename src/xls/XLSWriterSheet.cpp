// One worksheet substream: page setup, dimensions, cell records, window settings. One
// function per record, named after it; WriteSheet calls them in the order of the stream.
#include "BiffStream.h"
#include "XLSRecords.h"
#include "XLSSharedStrings.h"
#include "XLSWorkbook.h"
#include "XLSWriter.h"

#include <algorithm>

namespace fb::xls {
namespace {

constexpr std::uint16_t kLastRow = 0xFFFF;
constexpr std::uint16_t kLastColumn = 255;

// SETUP options.
constexpr std::uint16_t kSetupOverThenDown = 0x0001;
constexpr std::uint16_t kSetupPortrait = 0x0002;
constexpr std::uint16_t kSetupBlackAndWhite = 0x0008;
constexpr std::uint16_t kSetupDraft = 0x0010;
constexpr std::uint16_t kSetupFirstPageNumber = 0x0080;
constexpr std::uint16_t kAutomaticPageNumber = 0xFFFF;

// WSBOOL options.
constexpr std::uint16_t kWsBoolSummaryRowsBelow = 0x0040;
constexpr std::uint16_t kWsBoolSummaryColumnsRight = 0x0080;
constexpr std::uint16_t kWsBoolFitToPages = 0x0100;
constexpr std::uint16_t kWsBoolShowOutlineSymbols = 0x0400;

// HEADER and FOOTER hold at most this many UTF-16 units.
constexpr qsizetype kMaxHeaderFooterLength = 255;

// DEFAULTROWHEIGHT: a row of 12.75 points, with no option set.
constexpr std::uint16_t kDefaultRowHeightTwips = 255;

// WINDOW2 options.
constexpr std::uint16_t kWindow2ShowGridLines = 0x0002;
constexpr std::uint16_t kWindow2ShowHeaders = 0x0004;
constexpr std::uint16_t kWindow2FrozenPanes = 0x0008;
constexpr std::uint16_t kWindow2ShowZeros = 0x0010;
constexpr std::uint16_t kWindow2DefaultGridColour = 0x0020;
constexpr std::uint16_t kWindow2ShowOutlineSymbols = 0x0080;
constexpr std::uint16_t kWindow2FrozenWithoutSplit = 0x0100;
constexpr std::uint16_t kWindow2Selected = 0x0200;
constexpr std::uint16_t kWindow2Shown = 0x0400;
constexpr std::uint16_t kWindow2PageBreakPreview = 0x0800;

// SCL: the zoom as a fraction over 100.
constexpr std::uint16_t kZoomDenominator = 100;
constexpr std::uint8_t kNoZoom = 100;

// PANE: the pane that holds the cursor.
constexpr std::uint16_t kPaneLowerRight = 0;
constexpr std::uint16_t kPaneUpperRight = 1;
constexpr std::uint16_t kPaneLowerLeft = 2;

// BOOLERR: the value is a boolean, not an error code.
constexpr std::uint8_t kBoolNotError = 0;

// The index of the rows in use, left empty: it holds no block offsets.
void writeIndex(BiffStream &out)
{
    out.BeginRecord(biff::INDEX, 16);
    out.WriteDWord(0);        // reserved
    out.WriteDWord(0);        // first row
    out.WriteDWord(kLastRow); // row after the last
    out.WriteDWord(0);        // position of the default column width
}

// Each break across the whole sheet: its row or column, then the span from 0 to `spanEnd`.
// Written also without breaks, then with a count of 0.
void writePageBreaks(BiffStream &out, std::uint16_t id, const std::vector<std::uint16_t> &breaks,
                     std::uint16_t spanEnd)
{
    out.BeginRecord(id, static_cast<std::uint16_t>(2 + 6 * breaks.size()));
    out.WriteWord(static_cast<std::uint16_t>(breaks.size()));
    for (const std::uint16_t position : breaks) {
        out.WriteWord(position);
        out.WriteWord(0);
        out.WriteWord(spanEnd);
    }
}

void writeHorizontalPageBreaks(BiffStream &out, const std::vector<std::uint16_t> &rows)
{
    writePageBreaks(out, biff::HORIZONTALPAGEBREAKS, rows, kLastColumn);
}

void writeVerticalPageBreaks(BiffStream &out, const std::vector<std::uint16_t> &columns)
{
    writePageBreaks(out, biff::VERTICALPAGEBREAKS, columns, kLastRow);
}

void writeSetup(BiffStream &out, const TPageSetup &setup)
{
    out.BeginRecord(biff::SETUP, 34);
    out.WriteWord(setup.paperSize);
    out.WriteWord(setup.scale);
    out.WriteWord(setup.firstPageNumber);
    out.WriteWord(setup.fitToPages ? setup.fitWidth : 1);
    out.WriteWord(setup.fitToPages ? setup.fitHeight : 1);
    std::uint16_t options = 0;
    if (setup.overThenDown)
        options |= kSetupOverThenDown;
    if (setup.portrait)
        options |= kSetupPortrait;
    if (setup.blackAndWhite)
        options |= kSetupBlackAndWhite;
    if (setup.draft)
        options |= kSetupDraft;
    if (setup.firstPageNumber != kAutomaticPageNumber)
        options |= kSetupFirstPageNumber;
    out.WriteWord(options);
    out.WriteWord(0); // horizontal resolution
    out.WriteWord(0); // vertical resolution
    out.WriteDouble(setup.headerMargin);
    out.WriteDouble(setup.footerMargin);
    out.WriteWord(0); // copies
}

// Summary rows below and summary columns right of the detail.
void writeWsBool(BiffStream &out, const TPageSetup &setup)
{
    biff::writeWordRecord(out, biff::WSBOOL,
                          kWsBoolShowOutlineSymbols | (setup.fitToPages ? kWsBoolFitToPages : 0) |
                              kWsBoolSummaryRowsBelow | kWsBoolSummaryColumnsRight);
}

void writePrintHeaders(BiffStream &out, const TPageSetup &setup)
{
    biff::writeWordRecord(out, biff::PRINTHEADERS, setup.printHeadings ? 1 : 0);
}

void writePrintGridLines(BiffStream &out, const TPageSetup &setup)
{
    biff::writeWordRecord(out, biff::PRINTGRIDLINES, setup.printGridLines ? 1 : 0);
}

// No outline levels: both gutters are empty.
void writeGuts(BiffStream &out)
{
    out.BeginRecord(biff::GUTS, 8);
    out.WriteWord(0); // row gutter width
    out.WriteWord(0); // column gutter height
    out.WriteWord(0); // row outline levels
    out.WriteWord(0); // column outline levels
}

void writeMargin(BiffStream &out, std::uint16_t id, double inches)
{
    out.BeginRecord(id, 8);
    out.WriteDouble(inches);
}

void writeMargins(BiffStream &out, const TPageSetup &setup)
{
    writeMargin(out, biff::TOPMARGIN, setup.topMargin);
    writeMargin(out, biff::BOTTOMMARGIN, setup.bottomMargin);
    writeMargin(out, biff::LEFTMARGIN, setup.leftMargin);
    writeMargin(out, biff::RIGHTMARGIN, setup.rightMargin);
}

void writeHCenter(BiffStream &out, const TPageSetup &setup)
{
    biff::writeWordRecord(out, biff::HCENTER, setup.centerHorizontally ? 1 : 0);
}

void writeVCenter(BiffStream &out, const TPageSetup &setup)
{
    biff::writeWordRecord(out, biff::VCENTER, setup.centerVertically ? 1 : 0);
}

// HEADER and FOOTER hold the three parts in one text with section codes; nothing is
// written when all three are empty.
void writeHeaderFooter(BiffStream &out, std::uint16_t id, const QString &left,
                       const QString &center, const QString &right)
{
    QString text;
    if (!left.isEmpty())
        text += QStringLiteral("&L") + left;
    if (!center.isEmpty())
        text += QStringLiteral("&C") + center;
    if (!right.isEmpty())
        text += QStringLiteral("&R") + right;
    if (text.isEmpty())
        return;
    // A cut between the halves of a surrogate pair would leave half a character, so the
    // whole pair goes.
    if (text.size() > kMaxHeaderFooterLength) {
        text.truncate(text.at(kMaxHeaderFooterLength - 1).isHighSurrogate()
                          ? kMaxHeaderFooterLength - 1
                          : kMaxHeaderFooterLength);
    }
    out.BeginRecord(id, static_cast<std::uint16_t>(3 + 2 * text.size()));
    out.WriteWord(static_cast<std::uint16_t>(text.size()));
    out.WriteByte(biff::kUtf16Text);
    out.WriteUtf16(text);
}

void writeHeader(BiffStream &out, const TPageSetup &setup)
{
    writeHeaderFooter(out, biff::HEADER, setup.headerLeft, setup.headerCenter, setup.headerRight);
}

void writeFooter(BiffStream &out, const TPageSetup &setup)
{
    writeHeaderFooter(out, biff::FOOTER, setup.footerLeft, setup.footerCenter, setup.footerRight);
}

// PROTECT, SCENPROTECT, OBJPROTECT and PASSWORD, only for a protected sheet.
void writeSheetProtection(BiffStream &out, std::uint16_t hash)
{
    if (hash == 0)
        return;
    biff::writeWordRecord(out, biff::PROTECT, 1);
    biff::writeWordRecord(out, biff::SCENPROTECT, 1);
    biff::writeWordRecord(out, biff::OBJPROTECT, 1);
    biff::writeWordRecord(out, biff::PASSWORD, hash);
}

// The range of rows and columns that hold cells; a sheet without cells has no DIMENSIONS.
void writeDimensions(BiffStream &out, const TCells &cells)
{
    if (cells.Count() == 0)
        return;
    std::uint16_t firstRow = kLastRow;
    std::uint16_t lastRow = 0;
    std::uint8_t firstCol = kLastColumn;
    std::uint8_t lastCol = 0;
    for (const TCell &cell : cells) {
        firstRow = std::min(firstRow, cell.Row());
        lastRow = std::max(lastRow, cell.Row());
        firstCol = std::min<std::uint8_t>(firstCol, static_cast<std::uint8_t>(cell.Col()));
        lastCol = std::max<std::uint8_t>(lastCol, static_cast<std::uint8_t>(cell.Col()));
    }
    out.BeginRecord(biff::DIMENSIONS, 14);
    out.WriteDWord(firstRow);
    out.WriteDWord(std::uint32_t(lastRow) + 1);
    out.WriteWord(firstCol);
    out.WriteWord(std::uint16_t(lastCol + 1));
    out.WriteWord(0); // reserved
}

void writeDefaultRowHeight(BiffStream &out)
{
    out.BeginRecord(biff::DEFAULTROWHEIGHT, 4);
    out.WriteWord(0); // options
    out.WriteWord(kDefaultRowHeightTwips);
}

// Row, column and written cell format: the start of every cell record.
void writeCellHeader(BiffStream &out, std::uint16_t id, std::uint16_t length, const TCell &cell,
                     std::uint16_t xf)
{
    out.BeginRecord(id, length);
    out.WriteWord(cell.Row());
    out.WriteWord(cell.Col());
    out.WriteWord(xf);
}

void writeLabelSst(BiffStream &out, const TCell &cell, std::uint16_t xf, std::uint32_t string)
{
    writeCellHeader(out, biff::LABELSST, 10, cell, xf);
    out.WriteDWord(string);
}

// Numbers are never written in the compact RK form.
void writeNumber(BiffStream &out, const TCell &cell, std::uint16_t xf, double value)
{
    writeCellHeader(out, biff::NUMBER, 14, cell, xf);
    out.WriteDouble(value);
}

void writeBoolErr(BiffStream &out, const TCell &cell, std::uint16_t xf)
{
    writeCellHeader(out, biff::BOOLERR, 8, cell, xf);
    out.WriteByte(cell.Boolean() ? 1 : 0);
    out.WriteByte(kBoolNotError);
}

void writeBlank(BiffStream &out, const TCell &cell, std::uint16_t xf)
{
    writeCellHeader(out, biff::BLANK, 6, cell, xf);
}

std::uint16_t window2Options(const TSheetView &view, bool firstSheet)
{
    std::uint16_t options = kWindow2DefaultGridColour | kWindow2ShowOutlineSymbols | kWindow2Shown;
    if (view.showGridLines)
        options |= kWindow2ShowGridLines;
    if (view.showHeaders)
        options |= kWindow2ShowHeaders;
    if (view.showZeros)
        options |= kWindow2ShowZeros;
    if (view.frozenRows > 0 || view.frozenCols > 0)
        options |= kWindow2FrozenPanes | kWindow2FrozenWithoutSplit;
    if (view.pageBreakPreview)
        options |= kWindow2PageBreakPreview;
    if (firstSheet)
        options |= kWindow2Selected;
    return options;
}

// The first sheet is the selected one. The view starts at the top left cell, with the
// default grid colour and zoom.
void writeWindow2(BiffStream &out, const TSheetView &view, bool firstSheet)
{
    out.BeginRecord(biff::WINDOW2, 18);
    out.WriteWord(window2Options(view, firstSheet));
    out.WriteWord(0);  // first visible row
    out.WriteWord(0);  // first visible column
    out.WriteWord(0);  // grid line colour
    out.WriteWord(0);  // reserved
    out.WriteWord(0);  // zoom in page-break preview
    out.WriteWord(0);  // zoom in normal view
    out.WriteDWord(0); // reserved
}

void writeScl(BiffStream &out, const TSheetView &view)
{
    if (view.zoom == kNoZoom)
        return;
    out.BeginRecord(biff::SCL, 4);
    out.WriteWord(view.zoom);
    out.WriteWord(kZoomDenominator);
}

// Frozen panes: split position, first row and column of the lower right part and the pane
// that holds the cursor.
void writePane(BiffStream &out, const TSheetView &view)
{
    if (view.frozenRows == 0 && view.frozenCols == 0)
        return;
    out.BeginRecord(biff::PANE, 10);
    out.WriteWord(view.frozenCols);
    out.WriteWord(view.frozenRows);
    out.WriteWord(view.frozenRows);
    out.WriteWord(view.frozenCols);
    if (view.frozenRows > 0 && view.frozenCols > 0)
        out.WriteWord(kPaneLowerRight);
    else
        out.WriteWord(view.frozenRows > 0 ? kPaneLowerLeft : kPaneUpperRight);
}

} // namespace

void TXLSWriter::WriteSheet(int index)
{
    BiffStream &out = *m_out;
    const TSheet &sheet = m_workbook.Sheets()[index];
    const TPageSetup &setup = sheet.PageSetup();

    // The sheet's BOF is about to be written at the current position.
    out.PatchDWord(m_boundSheetFields[static_cast<std::size_t>(index)],
                   static_cast<std::uint32_t>(out.Counter()));

    biff::writeBof(out, biff::kWorksheet);
    writeIndex(out);
    writeHorizontalPageBreaks(out, sheet.RowBreaks());
    writeVerticalPageBreaks(out, sheet.ColBreaks());
    writeSetup(out, setup);
    writeWsBool(out, setup);
    writePrintHeaders(out, setup);
    writePrintGridLines(out, setup);
    writeGuts(out);
    writeMargins(out, setup);
    writeHCenter(out, setup);
    writeVCenter(out, setup);
    writeHeader(out, setup);
    writeFooter(out, setup);
    writeSheetProtection(out, sheet.ProtectionHash());
    writeDimensions(out, sheet.Cells());
    writeDefaultRowHeight(out);
    writeCells(sheet, index);
    writeWindow2(out, sheet.View(), index == 0);
    writeScl(out, sheet.View());
    writePane(out, sheet.View());
    biff::writeEof(out);
}

void TXLSWriter::writeCells(const TSheet &sheet, int index)
{
    BiffStream &out = *m_out;
    const std::vector<std::uint32_t> &strings = m_sst->SheetIndices(index);
    std::size_t position = 0;
    for (const TCell &cell : sheet.Cells()) {
        const VarType kind = cell.Kind();
        const auto xf = static_cast<std::uint16_t>(cell.XFIndex() + m_xfOffset);
        bool written = true;
        if (cell.IsText())
            writeLabelSst(out, cell, xf, strings[position]);
        else if (kind == VarType::Date)
            writeNumber(out, cell, xf, DateSerial(cell.Number()));
        else if (CellValue::isNumberKind(kind))
            writeNumber(out, cell, xf, cell.Number());
        else if (kind == VarType::Boolean)
            writeBoolErr(out, cell, xf);
        else if (kind == VarType::Empty)
            writeBlank(out, cell, xf);
        else
            written = false;
        ++position;
        if (written) {
            m_progress += m_progressStep;
            report();
        }
    }
}

} // namespace fb::xls
