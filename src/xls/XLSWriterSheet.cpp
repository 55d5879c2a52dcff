// One worksheet substream: page setup, dimensions, cell records, window settings.
#include "BiffStream.h"
#include "XLSRecords.h"
#include "XLSSharedStrings.h"
#include "XLSWorkbook.h"
#include "XLSWriter.h"

#include <algorithm>

namespace fb::xls {
namespace {

void writeWordRecord(BiffStream &out, std::uint16_t id, std::uint16_t value)
{
    out.BeginRecord(id, 2);
    out.WriteWord(value);
}

void writeDoubleRecord(BiffStream &out, std::uint16_t id, double value)
{
    out.BeginRecord(id, 8);
    out.WriteDouble(value);
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
        options |= 0x0001;
    if (setup.portrait)
        options |= 0x0002;
    if (setup.blackAndWhite)
        options |= 0x0008;
    if (setup.draft)
        options |= 0x0010;
    if (setup.firstPageNumber != 0xFFFF)
        options |= 0x0080;
    out.WriteWord(options);
    out.WriteWord(0); // horizontal resolution
    out.WriteWord(0); // vertical resolution
    out.WriteDouble(setup.headerMargin);
    out.WriteDouble(setup.footerMargin);
    out.WriteWord(0); // copies
}

// HEADER and FOOTER hold the three parts in one text with section codes.
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
    // The record holds 255 units; a cut between the halves of a surrogate pair would leave
    // half a character, so the whole pair goes.
    if (text.size() > 255)
        text.truncate(text.at(254).isHighSurrogate() ? 254 : 255);
    out.BeginRecord(id, static_cast<std::uint16_t>(3 + 2 * text.size()));
    out.WriteWord(static_cast<std::uint16_t>(text.size()));
    out.WriteByte(0x01);
    out.WriteUtf16(text);
}

struct Dimensions {
    std::uint16_t firstRow = 0xFFFF;
    std::uint16_t lastRow = 0;
    std::uint8_t firstCol = 255;
    std::uint8_t lastCol = 0;
};

Dimensions dimensionsOf(const TCells &cells)
{
    Dimensions d;
    for (const TCell &cell : cells) {
        d.firstRow = std::min(d.firstRow, cell.Row());
        d.lastRow = std::max(d.lastRow, cell.Row());
        d.firstCol = std::min<std::uint8_t>(d.firstCol, static_cast<std::uint8_t>(cell.Col()));
        d.lastCol = std::max<std::uint8_t>(d.lastCol, static_cast<std::uint8_t>(cell.Col()));
    }
    return d;
}

std::uint16_t window2Options(const TSheetView &view, bool firstSheet)
{
    std::uint16_t options = 0x0020 | 0x0080 | 0x0400;
    if (view.showGridLines)
        options |= 0x0002;
    if (view.showHeaders)
        options |= 0x0004;
    if (view.showZeros)
        options |= 0x0010;
    if (view.frozenRows > 0 || view.frozenCols > 0)
        options |= 0x0108;
    if (view.pageBreakPreview)
        options |= 0x0800;
    if (firstSheet)
        options |= 0x0200;
    return options;
}

} // namespace

void TXLSWriter::WriteSheet(int index)
{
    BiffStream &out = *m_out;
    const TSheet &sheet = m_workbook.Sheets()[index];

    // The sheet's BOF is about to be written at the current position.
    out.PatchDWord(m_boundSheetFields[static_cast<std::size_t>(index)],
                   static_cast<std::uint32_t>(out.Counter()));

    biff::writeBof(out, biff::kWorksheet);
    out.BeginRecord(biff::INDEX, 16);
    out.WriteDWord(0);
    out.WriteDWord(0);
    out.WriteDWord(0x0000FFFF);
    out.WriteDWord(0);

    out.BeginRecord(biff::HORIZONTALPAGEBREAKS,
                    static_cast<std::uint16_t>(2 + 6 * sheet.RowBreaks().size()));
    out.WriteWord(static_cast<std::uint16_t>(sheet.RowBreaks().size()));
    for (const std::uint16_t row : sheet.RowBreaks()) {
        out.WriteWord(row);
        out.WriteWord(0);
        out.WriteWord(255);
    }
    out.BeginRecord(biff::VERTICALPAGEBREAKS,
                    static_cast<std::uint16_t>(2 + 6 * sheet.ColBreaks().size()));
    out.WriteWord(static_cast<std::uint16_t>(sheet.ColBreaks().size()));
    for (const std::uint16_t col : sheet.ColBreaks()) {
        out.WriteWord(col);
        out.WriteWord(0);
        out.WriteWord(0xFFFF);
    }

    const TPageSetup &setup = sheet.PageSetup();
    writeSetup(out, setup);
    // Summary rows below and summary columns right of the detail.
    writeWordRecord(out, biff::WSBOOL,
                    std::uint16_t(0x0400 | (setup.fitToPages ? 0x0100 : 0) | 0x0040 | 0x0080));
    writeWordRecord(out, biff::PRINTHEADERS, setup.printHeadings ? 1 : 0);
    writeWordRecord(out, biff::PRINTGRIDLINES, setup.printGridLines ? 1 : 0);
    // No outline levels: both gutters are empty.
    out.BeginRecord(biff::GUTS, 8);
    for (int i = 0; i < 4; ++i)
        out.WriteWord(0);
    writeDoubleRecord(out, biff::TOPMARGIN, setup.topMargin);
    writeDoubleRecord(out, biff::BOTTOMMARGIN, setup.bottomMargin);
    writeDoubleRecord(out, biff::LEFTMARGIN, setup.leftMargin);
    writeDoubleRecord(out, biff::RIGHTMARGIN, setup.rightMargin);
    writeWordRecord(out, biff::HCENTER, setup.centerHorizontally ? 1 : 0);
    writeWordRecord(out, biff::VCENTER, setup.centerVertically ? 1 : 0);
    writeHeaderFooter(out, biff::HEADER, setup.headerLeft, setup.headerCenter, setup.headerRight);
    writeHeaderFooter(out, biff::FOOTER, setup.footerLeft, setup.footerCenter, setup.footerRight);

    if (sheet.ProtectionHash() != 0) {
        writeWordRecord(out, biff::PROTECT, 1);
        writeWordRecord(out, biff::SCENPROTECT, 1);
        writeWordRecord(out, biff::OBJPROTECT, 1);
        writeWordRecord(out, biff::PASSWORD, sheet.ProtectionHash());
    }

    const TCells &cells = sheet.Cells();
    if (cells.Count() > 0) {
        const Dimensions d = dimensionsOf(cells);
        out.BeginRecord(biff::DIMENSIONS, 14);
        out.WriteDWord(d.firstRow);
        out.WriteDWord(std::uint32_t(d.lastRow) + 1);
        out.WriteWord(d.firstCol);
        out.WriteWord(std::uint16_t(d.lastCol + 1));
        out.WriteWord(0);
    }
    out.BeginRecord(biff::DEFAULTROWHEIGHT, 4);
    out.WriteWord(0);
    out.WriteWord(255);

    writeCells(sheet, index);

    out.BeginRecord(biff::WINDOW2, 18);
    const TSheetView &view = sheet.View();
    out.WriteWord(window2Options(view, index == 0));
    for (int i = 0; i < 8; ++i)
        out.WriteWord(0);
    if (view.zoom != 100) {
        out.BeginRecord(biff::SCL, 4);
        out.WriteWord(view.zoom);
        out.WriteWord(100);
    }
    if (view.frozenRows > 0 || view.frozenCols > 0) {
        // Frozen panes: split position, first row and column of the lower right part and
        // the active pane (0 lower right, 1 upper right, 2 lower left).
        out.BeginRecord(biff::PANE, 10);
        out.WriteWord(view.frozenCols);
        out.WriteWord(view.frozenRows);
        out.WriteWord(view.frozenRows);
        out.WriteWord(view.frozenCols);
        out.WriteWord(view.frozenRows > 0 && view.frozenCols > 0 ? 0
                                                                 : (view.frozenRows > 0 ? 2 : 1));
    }
    out.BeginRecord(biff::EOF_, 0);
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
        if (cell.IsText()) {
            out.BeginRecord(biff::LABELSST, 10);
            out.WriteWord(cell.Row());
            out.WriteWord(cell.Col());
            out.WriteWord(xf);
            out.WriteDWord(strings[position]);
        } else if (kind == VarType::Date || CellValue::isNumberKind(kind)) {
            out.BeginRecord(biff::NUMBER, 14);
            out.WriteWord(cell.Row());
            out.WriteWord(cell.Col());
            out.WriteWord(xf);
            out.WriteDouble(kind == VarType::Date ? DateSerial(cell.Number()) : cell.Number());
        } else if (kind == VarType::Boolean) {
            out.BeginRecord(biff::BOOLERR, 8);
            out.WriteWord(cell.Row());
            out.WriteWord(cell.Col());
            out.WriteWord(xf);
            out.WriteByte(cell.Boolean() ? 1 : 0);
            out.WriteByte(0);
        } else if (kind == VarType::Empty) {
            out.BeginRecord(biff::BLANK, 6);
            out.WriteWord(cell.Row());
            out.WriteWord(cell.Col());
            out.WriteWord(xf);
        } else {
            written = false;
        }
        ++position;
        if (written) {
            m_progress += m_progressStep;
            report();
        }
    }
}

} // namespace fb::xls
