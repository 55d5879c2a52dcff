#include "storage/logbook_json.h"

#include "core/file_error.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

using namespace fb;

namespace {

QByteArray jsonOf(const Logbook &logbook)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeLogbookJson(logbook, buffer);
    return buffer.data();
}

QJsonObject parsed(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

// Takes the first `capacity` bytes, then fails every write as a full disk would.
class FillingDevice : public QIODevice {
public:
    explicit FillingDevice(qint64 capacity) : m_capacity(capacity) { open(WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = std::min(size, m_capacity - written.size());
        if (taken <= 0) {
            errno = ENOSPC;
            return -1;
        }
        written.append(data, taken);
        return taken;
    }

private:
    qint64 m_capacity;
};

} // namespace

TEST(LogbookJson, EveryPartWithItsFieldNames)
{
    Logbook logbook;
    test::fillSample(logbook);
    logbook.master.registration = std::nan("");
    logbook.print.rangeFrom = 1e300;
    const QJsonObject json = parsed(jsonOf(logbook));

    const QJsonArray trips = json[QStringLiteral("trips")].toArray();
    ASSERT_EQ(trips.size(), 2);
    EXPECT_EQ(trips[0][QStringLiteral("caption")].toString(),
              QStringLiteral("07.12.2026 08:00:00"));
    EXPECT_EQ(trips[0][QStringLiteral("subitems")][4].toString(),
              QStringLiteral("Kunde\r\nAngebot"));
    EXPECT_EQ(trips[1][QStringLiteral("subitems")].toArray().size(), 7);
    EXPECT_EQ(json[QStringLiteral("templates")][0][QStringLiteral("caption")].toString(),
              QStringLiteral("Büro"));

    const QJsonObject master = json[QStringLiteral("masterData")].toObject();
    EXPECT_EQ(master[QStringLiteral("company")].toString(), QStringLiteral("Müller & Söhne"));
    EXPECT_EQ(master[QStringLiteral("startKm")].toInt(), 12000);
    EXPECT_EQ(master[QStringLiteral("firstRegistration")][QStringLiteral("value")].toDouble(),
              logbook.master.firstRegistration);
    EXPECT_EQ(master[QStringLiteral("firstRegistration")][QStringLiteral("text")].toString(),
              QStringLiteral("03.04.2008 18:10:00"));
    // A value that is no number or no date has null in its place.
    EXPECT_TRUE(master[QStringLiteral("registration")][QStringLiteral("value")].isNull());
    EXPECT_TRUE(master[QStringLiteral("registration")][QStringLiteral("text")].isNull());

    const QJsonObject print = json[QStringLiteral("printSettings")].toObject();
    EXPECT_EQ(print[QStringLiteral("rangeFrom")][QStringLiteral("value")].toDouble(), 1e300);
    EXPECT_TRUE(print[QStringLiteral("rangeFrom")][QStringLiteral("text")].isNull());
    EXPECT_TRUE(print[QStringLiteral("printAllTrips")].toBool());
    EXPECT_EQ(print[QStringLiteral("heading")].toString(), QStringLiteral("Fahrtenbuch"));

    const QJsonObject font = json[QStringLiteral("textFont")].toObject();
    EXPECT_EQ(font[QStringLiteral("face")].toString(), QStringLiteral("Arial Narrow"));
    EXPECT_EQ(font[QStringLiteral("color")].toInteger(), 0x80000008LL);
    EXPECT_TRUE(font[QStringLiteral("bold")].toBool());
    EXPECT_EQ(json[QStringLiteral("headingFont")][QStringLiteral("sizePoints")].toInt(), 14);
}

TEST(LogbookJson, AnyTextComesBackAsItWasIncludingLongOnes)
{
    QString everyAsciiUnit;
    for (char16_t c = 0; c < 0x80; ++c)
        everyAsciiUnit += QChar(c);
    // Long texts cross the writer's buffer; the emoji's halves fall on every offset.
    QString longText;
    for (int i = 0; i < 40'000; ++i)
        longText += (i % 7 == 0) ? QStringLiteral("😀\"") : QStringLiteral("äx\\");
    const QStringList texts = {everyAsciiUnit, QStringLiteral("Köln € Łódź 北京 😀 \u2028"),
                               longText, QString(), QString(70'000, QLatin1Char('\x01'))};

    Logbook logbook;
    logbook.trips.append(Row{QStringLiteral("07.12.2026"), texts});
    logbook.print.heading = longText;
    const QJsonObject json = parsed(jsonOf(logbook));
    const QJsonArray subItems =
        json[QStringLiteral("trips")][0][QStringLiteral("subitems")].toArray();
    ASSERT_EQ(subItems.size(), texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        EXPECT_EQ(subItems[i].toString(), texts[i]) << "text " << i;
    EXPECT_EQ(json[QStringLiteral("printSettings")][QStringLiteral("heading")].toString(),
              longText);
}

TEST(LogbookJson, HalfASurrogatePairIsWrittenAsItsEscape)
{
    Logbook logbook;
    logbook.master.town = QString(QChar(0xD83D)) + QStringLiteral("x") + QChar(0xDE00);
    EXPECT_TRUE(jsonOf(logbook).contains(R"("town": "\ud83dx\ude00")"));
}

TEST(LogbookJson, AFailedWriteAnywhereIsReported)
{
    Logbook logbook;
    test::fillSample(logbook);
    const QList<Row> rows = logbook.trips.rows();
    for (int i = 0; i < 3000; ++i)
        logbook.trips.append(rows.at(i % 2));
    const QByteArray whole = jsonOf(logbook);
    ASSERT_GT(whole.size(), 3 * 64 * 1024); // several buffers full

    for (const qint64 capacity : {qint64{0}, qint64{1}, qint64{64 * 1024 - 1}, qint64{64 * 1024},
                                  qint64{150'000}, whole.size() - 1}) {
        FillingDevice device(capacity);
        try {
            writeLogbookJson(logbook, device);
            ADD_FAILURE() << "no error with room for " << capacity << " bytes";
        } catch (const FileError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Disk full"));
        }
        EXPECT_TRUE(whole.startsWith(device.written));
    }
    FillingDevice roomy(whole.size());
    writeLogbookJson(logbook, roomy);
    EXPECT_EQ(roomy.written, whole);
}
