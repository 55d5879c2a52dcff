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

namespace fb {
namespace {

void takeStyleChange(PrintFont &font, PrintFont::Style bit, bool shown, bool chosen)
{
    if (shown == chosen)
        return;
    font.style = chosen ? quint8(font.style | bit) : quint8(font.style & ~bit);
}

} // namespace

PrintFont withFontDialogChanges(const PrintFont &stored, const QFont &shown, const QFont &chosen)
{
    PrintFont font = stored;
    // A new face is taken as the dialog showed it: size and style with it.
    const bool newFace = chosen.family() != shown.family();
    const QFont &before = newFace ? QFont() : shown;
    if (newFace) {
        font.face = chosen.family();
        font.pitch = PrintFont::DefaultPitch;
        font.style = 0;
    }
    if ((newFace || chosen.pointSizeF() != shown.pointSizeF()) && chosen.pointSizeF() > 0)
        font.sizePoints = qMax(1, qRound(chosen.pointSizeF()));
    takeStyleChange(font, PrintFont::Bold, before.bold(), chosen.bold());
    takeStyleChange(font, PrintFont::Italic, before.italic(), chosen.italic());
    takeStyleChange(font, PrintFont::Underline, before.underline(), chosen.underline());
    takeStyleChange(font, PrintFont::StrikeOut, before.strikeOut(), chosen.strikeOut());
    return font;
}

} // namespace fb
