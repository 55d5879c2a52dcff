// The workbook globals substream: everything the sheets share. One function per record,
// named after it; WriteGlobals at the end calls them in the order of the stream.
#include "BiffStream.h"
#include "XLSPalette.h"
#include "XLSRecords.h"
#include "XLSSharedStrings.h"
#include "XLSWorkbook.h"
#include "XLSWriter.h"

#include <QtEndian>

#include <array>
#include <utility>

namespace fb::xls {
namespace {

// INTERFACEHDR: the code page of the user interface, 1200 (UTF-16).
constexpr std::uint16_t kCodePageUtf16 = 1200;

// DATEMODE: serial day numbers count in the 1900 date system.
constexpr std::uint16_t k1900DateSystem = 0;

// FONT.
constexpr int kTwipsPerPoint = 20;
constexpr std::uint16_t kFontItalic = 0x0002;
constexpr std::uint16_t kFontStrikeOut = 0x0008;
constexpr std::uint16_t kWeightNormal = 400;
constexpr std::uint16_t kWeightBold = 700;
constexpr std::uint8_t kFamilyNone = 0;
constexpr std::uint8_t kDefaultCharSet = 1;
// Underline byte of each UnderlineStyle: none, single, double, single and double accounting.
constexpr std::array<std::uint8_t, 5> kUnderlineBytes = {0x00, 0x01, 0x02, 0x21, 0x22};
// The longest font name a FONT record holds: its length is one byte.
constexpr int kMaxFontNameLength = 255;
// The file has no font index 4: readers skip it, so the fifth table font is file font 5.
constexpr int kMissingFontIndex = 4;

// XF.
constexpr int kXFSize = 20;
using XFBytes = std::array<std::uint8_t, kXFSize>;
constexpr std::uint16_t kXFLocked = 0x0001;
constexpr std::uint16_t kXFStyle = 0x0004;
constexpr std::uint16_t kXFStyleParent = 0xFFF0; // a style record has no parent style
constexpr std::uint16_t kXFWrap = 0x0008;
constexpr int kXFVAlignShift = 4;
constexpr int kXFRotationShift = 8;
constexpr std::uint16_t kXFMerged = 0x0020;
// Set in every cell format: its number format is its own, not its style's.
constexpr std::uint16_t kXFOwnNumberFormat = 0x0400;
constexpr std::array<int, 4> kXFBorderStyleShift = {0, 4, 8, 12};  // left, right, top, bottom
constexpr std::array<int, 4> kXFBorderColorShift = {0, 7, 16, 23}; // the same sides
constexpr int kXFFillPatternShift = 26;
constexpr int kXFBackgroundShift = 7;
constexpr std::uint8_t kSolidFill = 1;

// The 21 cell formats every file starts with: 15 style formats, the default cell format and
// five number styles (currency, currency [0], percent, comma, comma [0]) on font 1.
constexpr int kStyleXFCount = 15;
constexpr XFBytes kStyleXF = {0x00, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0x00,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20};
constexpr XFBytes kDefaultCellXF = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20};
constexpr std::uint16_t kNumberStyleFont = 1;
constexpr std::array<std::uint8_t, 5> kNumberStyleFormats = {0x2C, 0x2A, 0x09, 0x2B, 0x29};
constexpr std::array<std::uint8_t, 16> kNumberStyleTail = {
    0xF5, 0xFF, 0x20, 0x00, 0x00, 0xF8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20};

// STYLE: (cell format, built-in style) of the six records: currency, currency [0], normal,
// percent, comma, comma [0].
constexpr std::uint16_t kBuiltInStyle = 0x8000;
constexpr std::uint8_t kNoOutlineLevel = 0xFF;
constexpr std::array<std::pair<std::uint16_t, std::uint8_t>, 6> kStyles = {
    {{16, 4}, {17, 7}, {0, 0}, {18, 5}, {19, 3}, {20, 6}}};

// WINDOW1: the workbook window's place and size in twips, what it shows, and the share of
// the sheet tabs in the width of the horizontal scroll bar, in thousandths.
constexpr std::uint16_t kWindowLeft = 360;
constexpr std::uint16_t kWindowTop = 15;
constexpr std::uint16_t kWindowWidth = 11340;
constexpr std::uint16_t kWindowHeight = 6795;
constexpr std::uint16_t kWindowHorizontalScrollBar = 0x0008;
constexpr std::uint16_t kWindowVerticalScrollBar = 0x0010;
constexpr std::uint16_t kWindowSheetTabs = 0x0020;
constexpr std::uint16_t kTabBarRatio = 600;

// BOUNDSHEET: a visible worksheet.
constexpr std::uint16_t kVisibleWorksheet = 0x0000;

// SUPBOOK: the references of the sheet list point into this workbook itself.
constexpr std::uint16_t kSelfReference = 0x0401;

// RECALCID: the calculation engine that last computed the formulas.
constexpr std::uint32_t kRecalcEngineId = 0x00016960;

QByteArrayView view(const auto &array)
{
    return QByteArrayView(reinterpret_cast<const char *>(array.data()), qsizetype(array.size()));
}

void writeInterfaceHdr(BiffStream &out)
{
    biff::writeWordRecord(out, biff::INTERFACEHDR, kCodePageUtf16);
}

void writeMms(BiffStream &out)
{
    out.BeginRecord(biff::MMS, 0);
}

void writeInterfaceEnd(BiffStream &out)
{
    out.BeginRecord(biff::INTERFACEEND, 0);
}

void writeExcel9File(BiffStream &out)
{
    out.BeginRecord(biff::EXCEL9FILE, 0);
}

// Not a double-stream file: there is no BIFF5 copy of the workbook.
void writeDsf(BiffStream &out)
{
    biff::writeWordRecord(out, biff::DSF, 0);
}

// The sheets' ids in tab order.
void writeTabId(BiffStream &out, std::uint16_t sheetCount)
{
    out.BeginRecord(biff::TABID, static_cast<std::uint16_t>(2 * sheetCount));
    for (std::uint16_t i = 0; i < sheetCount; ++i)
        out.WriteWord(i);
}

// PROTECT (only when protected), WINDOWPROTECT, then PASSWORD with the hash when protected
// and an unprotected PROTECT otherwise.
void writeWorkbookProtection(BiffStream &out, std::uint16_t hash)
{
    if (hash != 0)
        biff::writeWordRecord(out, biff::PROTECT, 1);
    biff::writeWordRecord(out, biff::WINDOWPROTECT, 0);
    if (hash != 0)
        biff::writeWordRecord(out, biff::PASSWORD, hash);
    else
        biff::writeWordRecord(out, biff::PROTECT, 0);
}

// The first sheet is the active one and the only one selected.
void writeWindow1(BiffStream &out)
{
    out.BeginRecord(biff::WINDOW1, 18);
    out.WriteWord(kWindowLeft);
    out.WriteWord(kWindowTop);
    out.WriteWord(kWindowWidth);
    out.WriteWord(kWindowHeight);
    out.WriteWord(kWindowHorizontalScrollBar | kWindowVerticalScrollBar | kWindowSheetTabs);
    out.WriteWord(0); // active sheet
    out.WriteWord(0); // first sheet tab shown
    out.WriteWord(1); // selected sheets
    out.WriteWord(kTabBarRatio);
}

// Objects are shown.
void writeHideObj(BiffStream &out)
{
    biff::writeWordRecord(out, biff::HIDEOBJ, 0);
}

void writeDateMode(BiffStream &out)
{
    biff::writeWordRecord(out, biff::DATEMODE, k1900DateSystem);
}

void writeFont(BiffStream &out, const TFontRecord &font)
{
    const QString name = font.name.left(kMaxFontNameLength);
    out.BeginRecord(biff::FONT, static_cast<std::uint16_t>(16 + 2 * name.size()));
    out.WriteWord(static_cast<std::uint16_t>(font.heightPoints * kTwipsPerPoint));
    out.WriteWord(static_cast<std::uint16_t>((font.italic ? kFontItalic : 0) |
                                             (font.strikeOut ? kFontStrikeOut : 0)));
    out.WriteWord(FileColorIndex(font.colorIndex));
    out.WriteWord(font.bold ? kWeightBold : kWeightNormal);
    out.WriteWord(font.ssType);
    auto style = static_cast<std::size_t>(font.underlineStyle);
    if (font.underline && style == 0)
        style = static_cast<std::size_t>(UnderlineStyle::Single);
    out.WriteByte(style < kUnderlineBytes.size() ? kUnderlineBytes[style] : 0);
    out.WriteByte(kFamilyNone);
    out.WriteByte(kDefaultCharSet);
    out.WriteByte(0); // reserved
    out.WriteByte(static_cast<std::uint8_t>(name.size()));
    out.WriteByte(biff::kUtf16Text);
    out.WriteUtf16(name);
}

void writeFonts(BiffStream &out, const TVirtualFontTable &fonts)
{
    for (int i = 0; i < fonts.Count(); ++i) {
        // Fill the index readers skip with a copy of the default font, so that later fonts
        // land where the cell formats' shifted indices point.
        if (i == kMissingFontIndex)
            writeFont(out, fonts.Font(0));
        writeFont(out, fonts.Font(i));
    }
}

// One FORMAT record per number format that readers do not have built in.
void writeFormats(BiffStream &out, const TFormatStrings &formats)
{
    for (int i = TFormatStrings::kBuiltInCount; i < formats.Count(); ++i) {
        const QString &text = formats.Text(i);
        out.BeginRecord(biff::FORMAT, static_cast<std::uint16_t>(5 + 2 * text.size()));
        out.WriteWord(formats.FileIndex(i));
        out.WriteWord(static_cast<std::uint16_t>(text.size()));
        out.WriteByte(biff::kUtf16Text);
        out.WriteUtf16(text);
    }
}

void writeBuiltInXFs(BiffStream &out)
{
    for (int i = 0; i < kStyleXFCount; ++i) {
        out.BeginRecord(biff::XF, kXFSize);
        out.WriteBytes(view(kStyleXF));
    }
    out.BeginRecord(biff::XF, kXFSize);
    out.WriteBytes(view(kDefaultCellXF));
    for (const std::uint8_t format : kNumberStyleFormats) {
        out.BeginRecord(biff::XF, kXFSize);
        out.WriteWord(kNumberStyleFont);
        out.WriteWord(format);
        out.WriteBytes(view(kNumberStyleTail));
    }
}

// The 20 bytes of a cell format. Border colours and the fill pattern share bit fields
// that cross the 16-bit values, so the record is assembled in place.
XFBytes xfBytes(const TXFRecord &xf, const TFormatStrings &formats)
{
    XFBytes data{};
    const std::uint16_t font = xf.fontIndex >= kMissingFontIndex ? xf.fontIndex + 1 : xf.fontIndex;
    qToLittleEndian<std::uint16_t>(font, data.data());
    qToLittleEndian<std::uint16_t>(formats.FileIndex(xf.formatIndex), data.data() + 2);
    const std::uint16_t protection =
        (xf.locked ? kXFLocked : 0) | (xf.styleRecord ? kXFStyle | kXFStyleParent : 0);
    qToLittleEndian<std::uint16_t>(protection, data.data() + 4);
    const std::uint16_t alignment = (xf.hAlign & 0x07) | (xf.wrap ? kXFWrap : 0) |
                                    ((xf.vAlign & 0x07) << kXFVAlignShift) |
                                    (std::uint16_t(xf.rotation) << kXFRotationShift);
    qToLittleEndian<std::uint16_t>(alignment, data.data() + 6);
    const std::uint16_t indent =
        (xf.indent & 0x0F) | (xf.merged ? kXFMerged : 0) | kXFOwnNumberFormat;
    qToLittleEndian<std::uint16_t>(indent, data.data() + 8);
    std::uint16_t styles = 0;
    std::uint32_t colors = 0;
    for (std::size_t side = 0; side < 4; ++side) {
        styles |= std::uint16_t((xf.borderStyles[side] & 0x0F) << kXFBorderStyleShift[side]);
        if (xf.borderStyles[side] != 0) {
            colors |= std::uint32_t(FileColorIndex(xf.borderColors[side]))
                      << kXFBorderColorShift[side];
        }
    }
    qToLittleEndian<std::uint16_t>(styles, data.data() + 10);
    qToLittleEndian<std::uint32_t>(colors, data.data() + 12);
    // The fill pattern shares a 32-bit field with the top and bottom border colours.
    const std::uint32_t fill = qFromLittleEndian<std::uint32_t>(data.data() + 14) |
                               (std::uint32_t(xf.fillPattern & 0x3F) << kXFFillPatternShift);
    qToLittleEndian<std::uint32_t>(fill, data.data() + 14);
    std::uint16_t pattern = FileColorIndex(xf.patternColor);
    std::uint16_t background = FileColorIndex(xf.backgroundColor);
    // A solid fill shows the pattern colour, which readers take from the first field.
    if (xf.fillPattern == kSolidFill)
        std::swap(pattern, background);
    qToLittleEndian<std::uint16_t>(std::uint16_t(pattern | (background << kXFBackgroundShift)),
                                   data.data() + 18);
    return data;
}

void writeXFs(BiffStream &out, const TVirtualXFTable &xfs, const TFormatStrings &formats)
{
    for (int i = 0; i < xfs.Count(); ++i) {
        out.BeginRecord(biff::XF, kXFSize);
        out.WriteBytes(view(xfBytes(xfs.XF(i), formats)));
    }
}

void writeStyles(BiffStream &out)
{
    for (const auto &[xf, style] : kStyles) {
        out.BeginRecord(biff::STYLE, 4);
        out.WriteWord(xf | kBuiltInStyle);
        out.WriteByte(style);
        out.WriteByte(kNoOutlineLevel);
    }
}

// Returns the position of the sheet's stream offset, which is back-filled when the sheet's
// substream begins.
qint64 writeBoundSheet(BiffStream &out, const QString &name)
{
    out.BeginRecord(biff::BOUNDSHEET, static_cast<std::uint16_t>(8 + 2 * name.size()));
    const qint64 offsetField = out.Counter();
    out.WriteDWord(0);
    out.WriteWord(kVisibleWorksheet);
    out.WriteByte(static_cast<std::uint8_t>(name.size()));
    out.WriteByte(biff::kUtf16Text);
    out.WriteUtf16(name);
    return offsetField;
}

void writeSupBook(BiffStream &out, std::uint16_t sheetCount)
{
    out.BeginRecord(biff::SUPBOOK, 4);
    out.WriteWord(sheetCount);
    out.WriteWord(kSelfReference);
}

// Each sheet as a reference into the SUPBOOK (the first and only one), from sheet i to i.
void writeExternSheet(BiffStream &out, std::uint16_t sheetCount)
{
    out.BeginRecord(biff::EXTERNSHEET, static_cast<std::uint16_t>(2 + 6 * sheetCount));
    out.WriteWord(sheetCount);
    for (std::uint16_t i = 0; i < sheetCount; ++i) {
        out.WriteWord(0);
        out.WriteWord(i);
        out.WriteWord(i);
    }
}

// The record repeats its own id in its data.
void writeRecalcId(BiffStream &out)
{
    out.BeginRecord(biff::RECALCID, 8);
    out.WriteWord(biff::RECALCID);
    out.WriteWord(0);
    out.WriteDWord(kRecalcEngineId);
}

// No index into the shared strings: readers find every string without it.
void writeExtSst(BiffStream &out)
{
    biff::writeWordRecord(out, biff::EXTSST, 0);
}

} // namespace

void TXLSWriter::WriteGlobals()
{
    BiffStream &out = *m_out;
    const TSheets &sheets = m_workbook.Sheets();
    const auto sheetCount = static_cast<std::uint16_t>(sheets.Count());

    biff::writeBof(out, biff::kWorkbookGlobals);
    writeInterfaceHdr(out);
    writeMms(out);
    writeInterfaceEnd(out);
    writeExcel9File(out);
    writeDsf(out);
    writeTabId(out, sheetCount);
    writeWorkbookProtection(out, m_workbook.ProtectionHash());
    writeWindow1(out);
    writeHideObj(out);
    writeDateMode(out);
    writeFonts(out, m_workbook.Fonts());
    writeFormats(out, m_workbook.FormatStrings());
    if (m_xfOffset > 0)
        writeBuiltInXFs(out);
    writeXFs(out, m_workbook.XFs(), m_workbook.FormatStrings());
    writeStyles(out);
    m_boundSheetFields.clear();
    for (int i = 0; i < sheets.Count(); ++i)
        m_boundSheetFields.push_back(writeBoundSheet(out, sheets[i].Name()));
    writeSupBook(out, sheetCount);
    writeExternSheet(out, sheetCount);
    writeRecalcId(out);
    m_sst->Write(out);
    writeExtSst(out);
    biff::writeEof(out);
}

} // namespace fb::xls
