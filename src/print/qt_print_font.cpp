#include "qt_print_font.h"

namespace fb {

QFont toQFont(const PrintFont &printFont)
{
    QFont font(printFont.face);
    if (printFont.sizePoints > 0)
        font.setPointSize(printFont.sizePoints);
    font.setBold(printFont.bold());
    font.setItalic(printFont.italic());
    font.setUnderline(printFont.underline());
    font.setStrikeOut(printFont.strikeOut());
    if (printFont.pitch == PrintFont::FixedPitch) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

QColor textColor(const PrintFont &font)
{
    const auto value = static_cast<quint32>(font.color);
    if ((value & 0xFF000000u) != 0)
        return Qt::black;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace fb
