#include "export/audit_export.h"

#include "core/error.h"
#include "core/file_error.h"
#include "model/logbook_operation.h"
#include "model/odometer.h"
#include "model/trip_columns.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

#include "file_bytes.h"
#include "file_size_limit.h"

#include "core/ole_date.h"

using namespace fb;

namespace {

using fb::test::fileBytes;
using fb::test::writeFileBytes;

QDateTime utc(int day, int hour)
{
    return QDateTime(QDate(2026, 11, day), QTime(hour, 0), Qt::UTC);
}

Row trip(const QString &departure, const QString &arrival, const QString &from, const QString &to,
         const QString &distance, const QString &purpose, const QString &kind)
{
    return Row{departure, {from, arrival, to, distance, purpose, kind}};
}

// Two trips entered, the first changed, the second deleted, the town changed, the odometer
// read: every kind of event the program logs itself. The tests run in Berlin time, an hour ahead of
// the logged UTC moments in November, so that a moment shown in UTC shows.
class AuditExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
        logbook.master.firstName = QStringLiteral("Erika");
        logbook.master.lastName = QStringLiteral("Muster");
        logbook.master.town = QStringLiteral("Köln");
        logbook.master.registrationNumber = QStringLiteral("K-AB 123");
        logbook.master.startKm = 1000;
        apply(NewTrip{trip(
                  QStringLiteral("01.11.2026 08:00:00"), QStringLiteral("01.11.2026 09:15:00"),
                  QStringLiteral("Düren"), QStringLiteral("Aachen"), QStringLiteral("12,5"),
                  QStringLiteral("Kunde \"Alpha\"\r\nAngebot"), QStringLiteral("Geschäftlich"))},
              utc(1, 9));
        apply(NewTrip{trip(QStringLiteral("02.11.2026 18:00:00"),
                           QStringLiteral("02.11.2026 18:30:00"), QStringLiteral("Bonn"),
                           QStringLiteral("Köln"), QStringLiteral("30"), QStringLiteral("Kino"),
                           QStringLiteral("Privat"))},
              utc(2, 19));
        Row changed = logbook.trips.at(0);
        changed.subItems[TripSubItem::Distance] = QStringLiteral("13,5");
        apply(ChangeTrip{0, changed}, utc(3, 7));
        apply(DeleteTrip{2}, utc(4, 12));
        MasterData master = logbook.master;
        master.town = QStringLiteral("Bonn");
        apply(SetMasterData{master}, utc(5, 8));
        apply(RecordOdometerReading{toOleDate(QDateTime(QDate(2026, 11, 6), QTime(12, 0))), 1044.5,
                                    QStringLiteral("Tanken")},
              utc(6, 12));
    }

    void apply(const LogbookOperation &operation, const QDateTime &at)
    {
        applyOperation(logbook, TimedOperation{operation, at});
        UpdateKMSTands(logbook);
    }

    QStringList lines(const QString &name) const
    {
        QStringList all =
            QString::fromUtf8(fileBytes(QDir(target).filePath(name))).split(QStringLiteral("\r\n"));
        EXPECT_EQ(all.takeLast(), QString()) << "every record ends with CRLF";
        return all;
    }

    Logbook logbook;
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("pruefung/2026"));
};

} // namespace

TEST_F(AuditExport, TablesHoldEveryRowAndEventInTheDescribedForms)
{
    exportAuditData(logbook, target);
    EXPECT_EQ(QDir(target)
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Unsorted)
                  .size(),
              5);

    const QStringList trips = lines(QStringLiteral("fahrten.csv"));
    ASSERT_EQ(trips.size(), 1 + logbook.trips.count());
    EXPECT_TRUE(trips.at(0).startsWith(
        QStringLiteral("\"Nr\";\"Abfahrt Datum\";\"Abfahrt Uhrzeit\";\"Abfahrtsort\"")));
    EXPECT_EQ(
        trips.at(1),
        QStringLiteral("1;01.11.2026;\"08:00\";\"Düren\";01.11.2026;\"09:15\";\"Aachen\";"
                       "12,50;1000,00;1000,00;\"Kunde \"\"Alpha\"\" Angebot\";"
                       "\"Geschäftlich\";\"Ja\";01.11.2026;\"10:00\";03.11.2026;\"08:00\";2"));
    EXPECT_EQ(trips.at(2),
              QStringLiteral("2;01.11.2026;\"08:00\";\"Düren\";01.11.2026;\"09:15\";\"Aachen\";"
                             "13,50;1000,00;1013,50;\"Kunde \"\"Alpha\"\" Angebot\";"
                             "\"Geschäftlich\";\"\";03.11.2026;\"08:00\";;\"\";"));

    const QStringList events = lines(QStringLiteral("protokoll.csv"));
    ASSERT_EQ(events.size(), 1 + qsizetype(logbook.entryLog.events().size()));
    QStringList kinds;
    for (const QString &line : events.mid(1))
        kinds.append(line.section(QLatin1Char(';'), 3, 4));
    EXPECT_EQ(kinds,
              (QStringList{"\"Erfasst\";1", "\"Erfasst\";3", "\"Gelöscht\";1", "\"Geändert\";2",
                           "\"Gelöscht\";3", "\"Stammdaten\";", "\"Ablesung\";"}));
    EXPECT_EQ(events.at(4), QStringLiteral("4;03.11.2026;\"08:00\";\"Geändert\";2;"
                                           "\"Entfernung\";\"12,5\";\"13,5\";\"ersetzt Fahrt 1\""));
    EXPECT_TRUE(events.at(6).endsWith(QStringLiteral("\"Ort\";\"Köln\";\"Bonn\";\"\"")));
    EXPECT_TRUE(events.at(7).endsWith(QStringLiteral(
        "\"Kilometerstand\";\"\";\"1044,50\";\"Tanken, abgelesen am 06.11.2026 12:00\"")))
        << events.at(7).toStdString();

    const QStringList master = lines(QStringLiteral("stammdaten.csv"));
    ASSERT_EQ(master.size(), 2);
    EXPECT_TRUE(master.at(1).startsWith(QStringLiteral("\"\";\"Erika\";\"Muster\";")));
    EXPECT_TRUE(master.at(1).endsWith(QStringLiteral(";1000,00;03.04.2008;03.04.2008")));

    const QString index = QString::fromUtf8(fileBytes(QDir(target).filePath("index.xml")));
    EXPECT_TRUE(
        index.contains(QStringLiteral("<Comment>Fahrtenbuch K-AB 123, Prüfwert %1</Comment>")
                           .arg(logbook.entryLog.printedCheckValue())));
    EXPECT_TRUE(index.contains(QStringLiteral("<Name>Erika Muster</Name>")));
    EXPECT_TRUE(index.contains(QStringLiteral("<RecordDelimiter>&#13;&#10;</RecordDelimiter>")));
    EXPECT_TRUE(index.contains(
        QStringLiteral("<From>01.11.2026</From>\n                    <To>02.11.2026</To>")));
    EXPECT_EQ(fileBytes(QDir(target).filePath("gdpdu-01-09-2004.dtd")), fileBytes(AUDIT_DTD))
        << "the standard's DTD goes out unchanged";

    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    QProcess validation;
    validation.setWorkingDirectory(target);
    validation.start(xmllint, {"--noout", "--valid", "index.xml"});
    ASSERT_TRUE(validation.waitForFinished(30000));
    EXPECT_EQ(validation.exitCode(), 0);
    // libxml2 remarks that the standard's own content model of Media is not deterministic;
    // anything else it says is a fault of index.xml.
    for (const QString &line : QString::fromUtf8(validation.readAllStandardError()).split('\n')) {
        if (line.contains("error") || line.contains("warning")) {
            EXPECT_TRUE(line.contains("Content model of Media is not determinist"))
                << line.toStdString();
        }
    }
}

TEST_F(AuditExport, TheFolderIsWrittenWholeOrNotAtAll)
{
    // A folder that holds a file, and a file, are refused untouched.
    QDir().mkpath(target);
    writeFileBytes(QDir(target).filePath(QStringLiteral(".alt")), "x");
    EXPECT_THROW(exportAuditData(logbook, target), Error);
    EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{".alt"});
    EXPECT_THROW(exportAuditData(logbook, QDir(target).filePath(".alt")), Error);

    // A write that fails part-way leaves neither the folder nor the hidden one beside it.
    const QString fresh = dir.filePath(QStringLiteral("neu"));
    {
        const fb::test::FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        EXPECT_THROW(exportAuditData(logbook, fresh), FileError);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"pruefung"});

    // An empty folder is filled.
    QFile::remove(QDir(target).filePath(QStringLiteral(".alt")));
    exportAuditData(logbook, target);
    EXPECT_EQ(QDir(target).entryList(QDir::Files).size(), 5);
}
