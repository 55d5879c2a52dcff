#include "core/error.h"

#include <gtest/gtest.h>

using namespace fb;

TEST(FileTextForMessage, ControlCharactersBecomeVisibleEscapes)
{
    EXPECT_EQ(fileTextForMessage(u"12,5"), QStringLiteral("12,5"));
    EXPECT_EQ(fileTextForMessage(u"\x1B[31mrot\x07\r\n\t"),
              QStringLiteral("\\x1B[31mrot\\x07\\x0D\\x0A\\x09"));
    EXPECT_EQ(fileTextForMessage(QString(QString(QChar(0)) + QStringLiteral("\x7F\x85\x9F"))),
              QStringLiteral("\\x00\\x7F\\x85\\x9F"));
    // Bidirectional overrides and line separators could disguise or break the message.
    EXPECT_EQ(fileTextForMessage(u"a\u202Eb\u2028c\u2066"),
              QStringLiteral("a\\u202Eb\\u2028c\\u2066"));
    // Printable text outside ASCII stays as it is.
    EXPECT_EQ(fileTextForMessage(u"Köln € Łódź 北京 😀 \u00A0"),
              QStringLiteral("Köln € Łódź 北京 😀 \u00A0"));
    // A lone half of a surrogate pair is no character of its own.
    EXPECT_EQ(fileTextForMessage(QString(QString(QChar(0xD83D)) + QStringLiteral("x") + QChar(0xDE00))),
              QStringLiteral("\\uD83Dx\\uDE00"));
}

TEST(FileTextForMessage, CutAfterAHundredCharactersWithAnEllipsis)
{
    const QString hundred(100, QLatin1Char('7'));
    EXPECT_EQ(fileTextForMessage(hundred), hundred);
    EXPECT_EQ(fileTextForMessage(QString(hundred + QStringLiteral("8"))), hundred + QStringLiteral("…"));
    EXPECT_EQ(fileTextForMessage(QString(5'000'000, QLatin1Char('x'))),
              QString(100, QLatin1Char('x')) + QStringLiteral("…"));

    // Escapes count as the one character they stand for.
    const QString escapes(101, QChar(0x1B));
    QString shown;
    for (int i = 0; i < 100; ++i)
        shown += QStringLiteral("\\x1B");
    EXPECT_EQ(fileTextForMessage(escapes), shown + QStringLiteral("…"));

    // A character outside the BMP is one character and is never cut in half.
    QString emoji;
    for (int i = 0; i < 101; ++i)
        emoji += QStringLiteral("😀");
    const QString cut = fileTextForMessage(emoji);
    EXPECT_EQ(cut, emoji.left(200) + QStringLiteral("…"));
    EXPECT_EQ(fileTextForMessage(QString(QString(99, QLatin1Char('a')) + QStringLiteral("😀"))),
              QString(99, QLatin1Char('a')) + QStringLiteral("😀"));
}
