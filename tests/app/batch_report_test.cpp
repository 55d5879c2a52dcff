#include "app/batch_command.h"

#include "model/logbook_document.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb;

namespace {

class BatchReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        LogbookDocument document;
        Logbook &logbook = document.logbook();
        logbook.print.heading = QStringLiteral("Fahrtenbuch K-FB 1");
        logbook.master.startKm = 1000;
        logbook.trips.append(Row{QStringLiteral("07.12.2026 08:00:00"),
                                 {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"),
                                  QStringLiteral("Bonn"), QStringLiteral("1000,25"),
                                  QStringLiteral("Kunde Süd"), QStringLiteral("Geschäftlich")}});
        logbook.trips.append(Row{QStringLiteral("08.12.2026"),
                                 {QStringLiteral("Bonn"), QStringLiteral("08.12.2026 01:00:00"),
                                  QStringLiteral("Köln"), QStringLiteral("234,25"),
                                  QStringLiteral("zurück"), QStringLiteral("Privat")}});
        document.setFileName(sample);
        document.SaveTheFile();
    }

    // Runs the program itself: printing needs the GUI application that main() sets up.
    int run(const QStringList &arguments, QString *err = nullptr)
    {
        QProcess process;
        process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), arguments);
        if (!process.waitForFinished(60000))
            return -1;
        if (err)
            *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    QTemporaryDir dir;
    const QString sample = dir.filePath(QStringLiteral("sample.fbu"));
};

TEST_F(BatchReports, EvaluateWritesTheSevenLines)
{
    QBuffer outBuffer;
    outBuffer.open(QIODevice::WriteOnly);
    QString err;
    QTextStream errStream(&err);
    EXPECT_EQ(runBatch({QStringLiteral("fahrtenbuch"), QStringLiteral("--evaluate"), sample},
                       outBuffer, errStream),
              0)
        << err.toStdString();
    EXPECT_EQ(QString::fromUtf8(outBuffer.data()),
              QStringLiteral("Anzahl geschäftlicher Fahrten: 1\n"
                             "Anzahl privater Fahrten: 1\n"
                             "Anzahl Fahrten gesamt: 2\n"
                             "\n"
                             "Geschäftlich gefahrene Kilometer: 1000,25\n"
                             "Privat gefahrene Kilometer: 234,25\n"
                             "Gefahrene Kilometer gesamt: 1234,50\n"));
}

TEST_F(BatchReports, CheckPrintsAFindingPerLineAndTellsByItsExitCode)
{
    QProcess process;
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), {QStringLiteral("--check"), sample});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
              QStringLiteral("Fahrt 1 (07.12.2026 08:00): Durchschnitt 1000,3 km/h\n"
                             "Fahrt 2 (08.12.2026 00:00): Durchschnitt 234,3 km/h\n"));

    LogbookDocument plausible;
    plausible.logbook().trips.append(
        Row{QStringLiteral("07.12.2026 08:00:00"),
            {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"), QStringLiteral("Bonn"),
             QStringLiteral("30"), QStringLiteral("Kunde"), QStringLiteral("Geschäftlich")}});
    plausible.setFileName(dir.filePath(QStringLiteral("plausible.fbu")));
    plausible.SaveTheFile();
    EXPECT_EQ(run({QStringLiteral("--check"), plausible.fileName()}), 0);

    QString err;
    EXPECT_EQ(run({QStringLiteral("--check"), dir.filePath(QStringLiteral("fehlt.fbu"))}, &err), 1);
    EXPECT_EQ(err, QStringLiteral("File not found.\n"));
}

TEST_F(BatchReports, PrintPdfWritesTheLogbookThatPdftotextReadsBack)
{
    const QString pdf = dir.filePath(QStringLiteral("fahrtenbuch.pdf"));
    QString err;
    ASSERT_EQ(run({QStringLiteral("--print-pdf"), pdf, sample}, &err), 0) << err.toStdString();

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char *expected : {"Fahrtenbuch K-FB 1",
                                 "Abfahrtszeit",
                                 "Abfahrtsort",
                                 "Ankunftszeit",
                                 "Ankunftsort",
                                 "Entfernung",
                                 "Fahrtzweck",
                                 "Art",
                                 "Km Stand",
                                 "07.12.2026 08:00:00",
                                 "Köln",
                                 "Bonn",
                                 "1000,25",
                                 "Kunde Süd",
                                 "Geschäftlich",
                                 "2000,3",
                                 "zurück",
                                 "08.12.2026 01:00:00",
                                 "2234,5",
                                 "Kilometerstand Ende: 2234,5"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
}

TEST_F(BatchReports, PrintPdfThatFailsLeavesNothingBehind)
{
    QString err;
    EXPECT_EQ(
        run({QStringLiteral("--print-pdf"), dir.filePath(QStringLiteral("fehlt/x.pdf")), sample},
            &err),
        1);
    // Qt may warn first about the session it runs in (no runtime folder under root).
    EXPECT_TRUE(err.endsWith(QStringLiteral("File not found.\n"))) << err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--print-pdf"), sample, sample}, &err), 1);
    EXPECT_TRUE(err.endsWith(QStringLiteral("Der Ausdruck würde das Fahrtenbuch selbst "
                                            "überschreiben. Bitte eine andere Datei wählen.\n")))
        << err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("sample.fbu")}));
}

} // namespace
