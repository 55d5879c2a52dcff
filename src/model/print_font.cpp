#include "print_font.h"

namespace fb {

PrintFont PrintFont::defaultHeadingFont(int pixelsPerInch)
{
    PrintFont font;
    font.face = QStringLiteral("Arial Black");
    font.pixelsPerInch = pixelsPerInch;
    font.sizePoints = 14; // 19 pixels at 96 pixels per inch
    return font;
}

PrintFont PrintFont::defaultTextFont(int pixelsPerInch)
{
    PrintFont font;
    font.face = QStringLiteral("Arial Narrow");
    font.pixelsPerInch = pixelsPerInch;
    font.sizePoints = 8; // 11 pixels at 96 pixels per inch
    font.style = Bold;
    return font;
}

} // namespace fb
