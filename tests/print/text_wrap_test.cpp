#include "print/text_wrap.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

// One pixel per UTF-16 code unit.
QStringList wrapped(const QString &line, int width)
{
    return wrapLine(line, width, [](const QString &text) { return int(text.size()); });
}

TEST(WrapLine, TextThatFitsComesBackAsItIs)
{
    EXPECT_EQ(wrapped(QStringLiteral("  a  b "), 7), QStringList({QStringLiteral("  a  b ")}));
    EXPECT_EQ(wrapped(QString(), 1), QStringList({QString()}));
}

TEST(WrapLine, BreaksAtBlanksAndDropsThem)
{
    EXPECT_EQ(wrapped(QStringLiteral("eins zwei  drei vier"), 9),
              QStringList({QStringLiteral("eins zwei"), QStringLiteral("drei vier")}));
    EXPECT_EQ(wrapped(QStringLiteral("eins zwei  drei vier"), 10),
              QStringList({QStringLiteral("eins zwei"), QStringLiteral("drei vier")}));
    // Blanks at the very end make no empty line.
    EXPECT_EQ(wrapped(QStringLiteral("eins      "), 5), QStringList({QStringLiteral("eins")}));
}

TEST(WrapLine, BreaksInsideAWordOnlyWhenItAloneIsTooWide)
{
    EXPECT_EQ(wrapped(QStringLiteral("ab cdefghij kl m"), 4),
              QStringList({QStringLiteral("ab"), QStringLiteral("cdef"), QStringLiteral("ghij"),
                           QStringLiteral("kl m")}));
    // However narrow the room, each line takes a whole character and the text goes on.
    EXPECT_EQ(wrapped(QStringLiteral("abc"), 0),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST(WrapLine, NeverSplitsACharacter)
{
    const QString accented = QStringLiteral("e\u0301");
    EXPECT_EQ(wrapped(accented + accented + accented, 5),
              QStringList({accented + accented, accented}));
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(wrapped(smiley + smiley, 1), QStringList({smiley, smiley}));
}

TEST(WrapLine, WorkGrowsWithTheTextNotWithItsSquare)
{
    // One long word broken inside, and many words; the measure counts what it is given.
    for (const QString &text :
         {QString(100'000, QLatin1Char('x')), QStringLiteral("Wort ").repeated(20'000).trimmed()}) {
        qint64 measured = 0;
        const QStringList lines = wrapLine(text, 50, [&measured](const QString &piece) {
            measured += piece.size();
            return int(piece.size());
        });
        EXPECT_GE(lines.size(), text.size() / 50);
        EXPECT_EQ(lines.join(text.contains(QLatin1Char(' ')) ? QStringLiteral(" ") : QString()),
                  text);
        EXPECT_LT(measured, 20 * text.size());
    }
}

} // namespace
} // namespace fb
