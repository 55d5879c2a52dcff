#include "XLSItem.h"

#include "XLSError.h"
#include "XLSPalette.h"
#include "XLSWorkbook.h"

namespace fb::xls {
namespace {

// The array slot of a border side; a value outside the enumeration is refused.
std::size_t sideIndex(BorderSide side)
{
    if (static_cast<int>(side) > 3)
        throw EXLSError(EXLSError::InvalidCellProperty);
    return static_cast<std::size_t>(side);
}

} // namespace

TXFRecord TCustomXLSItem::XF() const
{
    return workbook()->XFs().XF(m_xf);
}

TFontRecord TCustomXLSItem::Font() const
{
    return workbook()->Fonts().Font(XF().fontIndex);
}

void TCustomXLSItem::changeXF(const TXFRecord &changed)
{
    TVirtualXFTable &table = workbook()->XFs();
    const int index = table.Intern(changed);
    table.Release(m_xf);
    m_xf = index;
    xfChanged();
}

template<typename Mutate> void TCustomXLSItem::updateXF(Mutate &&mutate)
{
    const TXFRecord current = XF();
    TXFRecord changed = current;
    mutate(changed);
    if (changed.toBytes() != current.toBytes())
        changeXF(changed);
}

template<typename Mutate> void TCustomXLSItem::updateFont(Mutate &&mutate)
{
    const TXFRecord xf = XF();
    TVirtualFontTable &fonts = workbook()->Fonts();
    const TFontRecord current = fonts.Font(xf.fontIndex);
    TFontRecord changed = current;
    mutate(changed);
    if (changed.toBytes() == current.toBytes())
        return;
    const int index = fonts.Intern(changed);
    fonts.Release(xf.fontIndex);
    updateXF([&](TXFRecord &r) { r.fontIndex = static_cast<std::uint16_t>(index); });
}

void TCustomXLSItem::SetBackgroundColorIndex(std::uint8_t color)
{
    updateXF([&](TXFRecord &r) { r.backgroundColor = color; });
}

void TCustomXLSItem::SetBackgroundColorRGB(std::uint32_t rgb)
{
    SetBackgroundColorIndex(NearestColorIndex(rgb));
}

void TCustomXLSItem::SetFillPattern(std::uint8_t pattern)
{
    if (pattern > 18)
        throw EXLSError(EXLSError::InvalidCellProperty);
    updateXF([&](TXFRecord &r) { r.fillPattern = pattern; });
}

void TCustomXLSItem::SetHAlign(std::uint8_t align)
{
    if (align > 7)
        throw EXLSError(EXLSError::InvalidCellProperty);
    updateXF([&](TXFRecord &r) { r.hAlign = align; });
}

void TCustomXLSItem::SetIndent(std::uint8_t indent)
{
    if (indent > 15)
        throw EXLSError(EXLSError::InvalidCellProperty);
    updateXF([&](TXFRecord &r) { r.indent = indent; });
}

void TCustomXLSItem::SetBorderColorIndex(BorderSide side, std::uint8_t color)
{
    const std::size_t i = sideIndex(side);
    updateXF([&](TXFRecord &r) { r.borderColors[i] = color; });
}

void TCustomXLSItem::SetBorderStyle(BorderSide side, std::uint8_t style)
{
    if (style > 13)
        throw EXLSError(EXLSError::InvalidCellProperty);
    const std::size_t i = sideIndex(side);
    updateXF([&](TXFRecord &r) { r.borderStyles[i] = style; });
}

void TCustomXLSItem::SetFormatStringIndex(int position)
{
    if (position < 0 || position >= workbook()->FormatStrings().Count())
        throw EXLSError(EXLSError::InvalidCellProperty);
    updateXF([&](TXFRecord &r) { r.formatIndex = static_cast<std::uint16_t>(position); });
}

void TCustomXLSItem::SetFontBold(bool bold)
{
    updateFont([&](TFontRecord &f) { f.bold = bold; });
}

void TCustomXLSItem::SetFontItalic(bool italic)
{
    updateFont([&](TFontRecord &f) { f.italic = italic; });
}

void TCustomXLSItem::SetFontUnderline(bool underline)
{
    updateFont([&](TFontRecord &f) { f.underline = underline; });
}

void TCustomXLSItem::SetFontName(const QString &name)
{
    // A face name in the file holds at most 255 characters; the record keeps 100.
    if (name.isEmpty() || name.size() > TFontRecord::kNameLength)
        throw EXLSError(EXLSError::InvalidCellProperty);
    updateFont([&](TFontRecord &f) { f.name = name; });
}

} // namespace fb::xls
