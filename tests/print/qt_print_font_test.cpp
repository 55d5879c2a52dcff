#include "print/qt_print_font.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

PrintFont storedFont()
{
    PrintFont font;
    font.face = QStringLiteral("Nirgends Installiert");
    font.sizePoints = 9;
    font.style = PrintFont::Bold | PrintFont::StrikeOut;
    font.color = 0x00336699;
    font.charset = 161;
    font.pitch = PrintFont::FixedPitch;
    font.pixelsPerInch = 120;
    return font;
}

TEST(FontDialogChanges, FontConfirmedAsShownStaysAsStored)
{
    const PrintFont stored = storedFont();
    // What a dialog shows for a face it does not have: another face, no style.
    const QFont shown(QStringLiteral("Liberation Sans"), 9);
    EXPECT_EQ(withFontDialogChanges(stored, shown, shown), stored);
}

TEST(FontDialogChanges, ChangesToTheShownFaceAreTakenOneByOne)
{
    const PrintFont stored = storedFont();
    const QFont shown(QStringLiteral("Liberation Sans"), 9);
    QFont chosen = shown;
    chosen.setPointSize(11);
    chosen.setItalic(true);
    const PrintFont result = withFontDialogChanges(stored, shown, chosen);
    EXPECT_EQ(result.face, stored.face);
    EXPECT_EQ(result.sizePoints, 11);
    EXPECT_EQ(result.style, PrintFont::Bold | PrintFont::StrikeOut | PrintFont::Italic);
    EXPECT_EQ(result.pitch, PrintFont::FixedPitch);
}

TEST(FontDialogChanges, NewFaceComesWithItsSizeAndStyleButKeepsColourAndCharacterSet)
{
    const PrintFont stored = storedFont();
    QFont chosen(QStringLiteral("Liberation Serif"), 13);
    chosen.setUnderline(true);
    const PrintFont result =
        withFontDialogChanges(stored, QFont(QStringLiteral("Liberation Sans"), 9), chosen);
    EXPECT_EQ(result.face, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(result.sizePoints, 13);
    EXPECT_EQ(result.style, PrintFont::Underline);
    EXPECT_EQ(result.pitch, PrintFont::DefaultPitch);
    EXPECT_EQ(result.color, stored.color);
    EXPECT_EQ(result.charset, stored.charset);
    EXPECT_EQ(result.pixelsPerInch, stored.pixelsPerInch);
}

TEST(FontDialogChanges, StoredFontSurvivesTheWayThroughQFont)
{
    PrintFont stored = storedFont();
    stored.face = QStringLiteral("Liberation Serif");
    const QFont font = toQFont(stored);
    EXPECT_EQ(font.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_EQ(withFontDialogChanges(stored, font, font), stored);
    EXPECT_EQ(textColor(stored), QColor(0x99, 0x66, 0x33));
}

} // namespace
} // namespace fb
