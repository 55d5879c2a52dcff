// The workbook globals substream: everything the sheets share.
#include "BiffStream.h"
#include "XLSPalette.h"
#include "XLSRecords.h"
#include "XLSSharedStrings.h"
#include "XLSWorkbook.h"
#include "XLSWriter.h"

#include <QtEndian>

#include <array>
#include <cstring>

namespace fb::xls {
namespace {

using Bytes20 = std::array<std::uint8_t, 20>;

// The 21 cell formats every file starts with: 15 style formats, the default cell format
// and five number styles (comma, currency, percent, comma [0], currency [0]).
constexpr Bytes20 kStyleXF = {0x00, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0x00,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20};
constexpr Bytes20 kDefaultCellXF = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20};
constexpr std::array<std::uint8_t, 5> kNumberStyleFormats = {0x2C, 0x2A, 0x09, 0x2B, 0x29};
constexpr std::array<std::uint8_t, 16> kNumberStyleTail = {
    0xF5, 0xFF, 0x20, 0x00, 0x00, 0xF8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20};

// (cell format, built-in style) of the six STYLE records.
constexpr std::array<std::pair<std::uint16_t, std::uint8_t>, 6> kStyles = {
    {{16, 4}, {17, 7}, {0, 0}, {18, 5}, {19, 3}, {20, 6}}};

constexpr std::array<std::uint8_t, 18> kWindow1 = {0x68, 0x01, 0x0F, 0x00, 0x4C, 0x2C,
                                                   0x8B, 0x1A, 0x38, 0x00, 0x00, 0x00,
                                                   0x00, 0x00, 0x01, 0x00, 0x58, 0x02};

constexpr std::array<std::uint8_t, 5> kUnderlineBytes = {0x00, 0x01, 0x02, 0x21, 0x22};

// The file has no font index 4: readers skip it, so the fifth table font is file font 5.
constexpr int kMissingFontIndex = 4;

QByteArrayView view(const auto &array)
{
    return QByteArrayView(reinterpret_cast<const char *>(array.data()), qsizetype(array.size()));
}

} // namespace

void biff::writeBof(BiffStream &out, std::uint16_t substreamType)
{
    out.BeginRecord(biff::BOF, 16);
    out.WriteWord(0x0600);
    out.WriteWord(substreamType);
    out.WriteWord(0x1846);
    out.WriteWord(0x07CD);
    out.WriteDWord(0x000040C1);
    out.WriteDWord(0x00000106);
}

void TXLSWriter::writeFont(int index)
{
    BiffStream &out = *m_out;
    const TFontRecord font = m_workbook.Fonts().Font(index);
    const QString name = font.name.left(255);
    out.BeginRecord(biff::FONT, static_cast<std::uint16_t>(16 + 2 * name.size()));
    out.WriteWord(static_cast<std::uint16_t>(font.heightPoints * 20));
    out.WriteWord(
        static_cast<std::uint16_t>((font.italic ? 0x0002 : 0) | (font.strikeOut ? 0x0008 : 0)));
    out.WriteWord(FileColorIndex(font.colorIndex));
    out.WriteWord(font.bold ? 700 : 400);
    out.WriteWord(font.ssType);
    auto style = static_cast<std::size_t>(font.underlineStyle);
    if (font.underline && style == 0)
        style = 1;
    out.WriteByte(style < kUnderlineBytes.size() ? kUnderlineBytes[style] : 0);
    out.WriteByte(0); // family
    out.WriteByte(1); // character set
    out.WriteByte(0); // reserved
    out.WriteByte(static_cast<std::uint8_t>(name.size()));
    out.WriteByte(0x01);
    out.WriteUtf16(name);
}

void TXLSWriter::writeXF(int index)
{
    const TXFRecord xf = m_workbook.XFs().XF(index);
    std::array<uchar, 20> data{};
    const std::uint16_t font = xf.fontIndex >= kMissingFontIndex ? xf.fontIndex + 1 : xf.fontIndex;
    qToLittleEndian<std::uint16_t>(font, data.data());
    qToLittleEndian<std::uint16_t>(m_workbook.FormatStrings().FileIndex(xf.formatIndex),
                                   data.data() + 2);
    const std::uint16_t protection =
        (xf.locked ? 0x0001 : 0) | (xf.styleRecord ? 0x0004 | 0xFFF0 : 0);
    qToLittleEndian<std::uint16_t>(protection, data.data() + 4);
    const std::uint16_t alignment = (xf.hAlign & 0x07) | (xf.wrap ? 0x08 : 0) |
                                    ((xf.vAlign & 0x07) << 4) | (std::uint16_t(xf.rotation) << 8);
    qToLittleEndian<std::uint16_t>(alignment, data.data() + 6);
    const std::uint16_t indent = (xf.indent & 0x0F) | (xf.merged ? 0x0020 : 0) | 0x0400;
    qToLittleEndian<std::uint16_t>(indent, data.data() + 8);
    std::uint16_t styles = 0;
    std::uint32_t colors = 0;
    constexpr std::array<int, 4> kStyleShift = {0, 4, 8, 12};
    constexpr std::array<int, 4> kColorShift = {0, 7, 16, 23};
    for (std::size_t side = 0; side < 4; ++side) {
        styles |= std::uint16_t((xf.borderStyles[side] & 0x0F) << kStyleShift[side]);
        if (xf.borderStyles[side] != 0)
            colors |= std::uint32_t(FileColorIndex(xf.borderColors[side])) << kColorShift[side];
    }
    qToLittleEndian<std::uint16_t>(styles, data.data() + 10);
    qToLittleEndian<std::uint32_t>(colors, data.data() + 12);
    // The fill pattern shares a 32-bit field with the top and bottom border colours.
    const std::uint32_t fill = qFromLittleEndian<std::uint32_t>(data.data() + 14) |
                               (std::uint32_t(xf.fillPattern & 0x3F) << 26);
    qToLittleEndian<std::uint32_t>(fill, data.data() + 14);
    std::uint16_t pattern = FileColorIndex(xf.patternColor);
    std::uint16_t background = FileColorIndex(xf.backgroundColor);
    // A solid fill shows the pattern colour, which readers take from the first field.
    if (xf.fillPattern == 1)
        std::swap(pattern, background);
    qToLittleEndian<std::uint16_t>(std::uint16_t(pattern | (background << 7)), data.data() + 18);

    m_out->BeginRecord(biff::XF, 20);
    m_out->WriteBytes(view(data));
}

void TXLSWriter::WriteGlobals()
{
    BiffStream &out = *m_out;
    const TSheets &sheets = m_workbook.Sheets();
    const auto sheetCount = static_cast<std::uint16_t>(sheets.Count());

    biff::writeBof(out, biff::kWorkbookGlobals);
    out.BeginRecord(biff::INTERFACEHDR, 2);
    out.WriteWord(0x04B0); // code page 1200, UTF-16
    out.BeginRecord(biff::MMS, 0);
    out.BeginRecord(biff::INTERFACEEND, 0);
    out.BeginRecord(biff::EXCEL9FILE, 0);
    out.BeginRecord(biff::DSF, 2);
    out.WriteWord(0);

    out.BeginRecord(biff::TABID, static_cast<std::uint16_t>(2 * sheetCount));
    for (std::uint16_t i = 0; i < sheetCount; ++i)
        out.WriteWord(i);

    const std::uint16_t protection = m_workbook.ProtectionHash();
    if (protection != 0) {
        out.BeginRecord(biff::PROTECT, 2);
        out.WriteWord(1);
    }
    out.BeginRecord(biff::WINDOWPROTECT, 2);
    out.WriteWord(0);
    if (protection != 0) {
        out.BeginRecord(biff::PASSWORD, 2);
        out.WriteWord(protection);
    } else {
        out.BeginRecord(biff::PROTECT, 2);
        out.WriteWord(0);
    }

    out.BeginRecord(biff::WINDOW1, kWindow1.size());
    out.WriteBytes(view(kWindow1));
    out.BeginRecord(biff::HIDEOBJ, 2);
    out.WriteWord(0);
    out.BeginRecord(biff::DATEMODE, 2);
    out.WriteWord(0); // 1900 date system

    const TVirtualFontTable &fonts = m_workbook.Fonts();
    for (int i = 0; i < fonts.Count(); ++i) {
        // Fill the index readers skip with a copy of the default font, so that later fonts
        // land where the cell formats' shifted indices point.
        if (i == kMissingFontIndex)
            writeFont(0);
        writeFont(i);
    }

    const TFormatStrings &formats = m_workbook.FormatStrings();
    for (int i = TFormatStrings::kBuiltInCount; i < formats.Count(); ++i) {
        const QString &text = formats.Text(i);
        out.BeginRecord(biff::FORMAT, static_cast<std::uint16_t>(5 + 2 * text.size()));
        out.WriteWord(formats.FileIndex(i));
        out.WriteWord(static_cast<std::uint16_t>(text.size()));
        out.WriteByte(0x01);
        out.WriteUtf16(text);
    }

    if (m_xfOffset > 0) {
        for (int i = 0; i < 15; ++i) {
            out.BeginRecord(biff::XF, 20);
            out.WriteBytes(view(kStyleXF));
        }
        out.BeginRecord(biff::XF, 20);
        out.WriteBytes(view(kDefaultCellXF));
        for (const std::uint8_t format : kNumberStyleFormats) {
            out.BeginRecord(biff::XF, 20);
            out.WriteWord(0x0001);
            out.WriteWord(format);
            out.WriteBytes(view(kNumberStyleTail));
        }
    }
    for (int i = 0; i < m_workbook.XFs().Count(); ++i)
        writeXF(i);

    for (const auto &[xf, style] : kStyles) {
        out.BeginRecord(biff::STYLE, 4);
        out.WriteWord(xf | 0x8000);
        out.WriteByte(style);
        out.WriteByte(0xFF);
    }

    m_boundSheetFields.assign(sheets.Count(), 0);
    for (int i = 0; i < sheets.Count(); ++i) {
        const QString &name = sheets[i].Name();
        out.BeginRecord(biff::BOUNDSHEET, static_cast<std::uint16_t>(8 + 2 * name.size()));
        m_boundSheetFields[static_cast<std::size_t>(i)] = out.Counter();
        out.WriteDWord(0); // back-filled when the sheet's substream begins
        out.WriteWord(0x0000);
        out.WriteByte(static_cast<std::uint8_t>(name.size()));
        out.WriteByte(0x01);
        out.WriteUtf16(name);
    }

    out.BeginRecord(biff::SUPBOOK, 4);
    out.WriteWord(sheetCount);
    out.WriteWord(0x0401);
    out.BeginRecord(biff::EXTERNSHEET, static_cast<std::uint16_t>(2 + 6 * sheetCount));
    out.WriteWord(sheetCount);
    for (std::uint16_t i = 0; i < sheetCount; ++i) {
        out.WriteWord(0);
        out.WriteWord(i);
        out.WriteWord(i);
    }

    out.BeginRecord(biff::RECALCID, 8);
    out.WriteWord(0x01C1);
    out.WriteWord(0);
    out.WriteDWord(0x00016960);

    m_sst->Write(out);
    out.BeginRecord(biff::EXTSST, 2);
    out.WriteWord(0);
    out.BeginRecord(biff::EOF_, 0);
}

} // namespace fb::xls
