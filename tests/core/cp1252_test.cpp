#include "core/cp1252.h"

#include <gtest/gtest.h>

using namespace fb;

TEST(Cp1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = cp1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_TRUE(cp1252::canEncode(text));
    EXPECT_EQ(cp1252::encodeLossy(text), all);
}

TEST(Cp1252, GermanLettersAndEuro)
{
    EXPECT_EQ(cp1252::encodeLossy(QStringLiteral("Straße äöü €")),
              QByteArray("Stra\xDF"
                         "e \xE4\xF6\xFC \x80"));
    EXPECT_EQ(cp1252::decode(QByteArray("\x80")), QString(QChar(0x20AC)));
}

TEST(Cp1252, CharactersOutsideTheCodePage)
{
    EXPECT_FALSE(cp1252::canEncode(QStringLiteral("Brno č")));
    EXPECT_EQ(cp1252::encodeLossy(QStringLiteral("ač北")), QByteArray("a??"));
    EXPECT_FALSE(cp1252::encodeChar(0x0100).has_value());
}
