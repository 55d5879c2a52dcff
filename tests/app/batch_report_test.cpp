#include "app/batch_command.h"

#include "checks/plausibility.h"
#include "storage/logbook_document.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtNumeric>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "pdf_text.h"
#include "sample_logbook.h"

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace fb;
using namespace fb::test;

namespace {

class BatchReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        saveLogbookFile(sample, [](Logbook &logbook) {
            logbook.print.heading = QStringLiteral("Fahrtenbuch K-FB 1");
            logbook.master.startKm = 1000;
            logbook.trips.append(
                outwardTrip(QStringLiteral("1000,25"), QStringLiteral("Kunde Süd")));
            logbook.trips.append(returnTrip(QStringLiteral("234,25")));
        });
    }

    // Runs the program itself: printing needs the GUI application that main() sets up.
    // The modifier runs in the child before the program starts.
    int run(const QStringList &arguments, QString *err = nullptr,
            const std::function<void()> &modifier = {})
    {
        QProcess process;
        if (modifier)
            process.setChildProcessModifier(modifier);
        process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), arguments);
        if (!process.waitForFinished(60000))
            return -1;
        if (err)
            *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QStringList filesInDir() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
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

    const QString plausible = dir.filePath(QStringLiteral("plausible.fbu"));
    saveLogbookFile(plausible, [](Logbook &logbook) {
        logbook.trips.append(outwardTrip(QStringLiteral("30")));
    });
    EXPECT_EQ(run({QStringLiteral("--check"), plausible}), 0);

    QString err;
    EXPECT_EQ(run({QStringLiteral("--check"), dir.filePath(QStringLiteral("fehlt.fbu"))}, &err), 1);
    EXPECT_EQ(err, QStringLiteral("File not found.\n"));
}

TEST_F(BatchReports, VerifyJudgesTheEntryLogAndCheckFindsATripEnteredLate)
{
    const auto batch = [](const QStringList &arguments, QString *text = nullptr) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString err;
        QTextStream errStream(&err);
        const int code =
            runBatch(QStringList{QStringLiteral("fahrtenbuch")} + arguments, out, errStream);
        errStream.flush();
        if (text)
            *text = QString::fromUtf8(out.data()) + err;
        return code;
    };
    QString text;
    EXPECT_EQ(batch({QStringLiteral("--verify"), sample}, &text), 4);
    EXPECT_EQ(text, QStringLiteral("Kein Änderungsprotokoll: Die Datei wurde ohne Protokoll "
                                   "gespeichert.\n"));

    // Entered eleven days after the trip.
    const QDateTime entered(QDate(2026, 12, 12), QTime(10, 0), Qt::UTC);
    LogbookDocument logged;
    logged.apply({NewTrip{Row{QStringLiteral("01.12.2026 08:00:00"),
                              {QStringLiteral("Köln"), QStringLiteral("01.12.2026 09:00:00"),
                               QStringLiteral("Bonn"), QStringLiteral("30"),
                               QStringLiteral("Kunde"), QStringLiteral("Geschäftlich")}}},
                  entered});
    const QString path = dir.filePath(QStringLiteral("logged.fbu"));
    logged.SaveTheFileAs(path);
    EXPECT_EQ(batch({QStringLiteral("--verify"), path}, &text), 0);
    EXPECT_EQ(text, QStringLiteral("Änderungsprotokoll intakt: 1 Ereignis, Prüfwert %1.\n")
                        .arg(logged.logbook().entryLog.checkValue()));
    const QDateTime local = entered.toLocalTime();
    EXPECT_EQ(batch({QStringLiteral("--check"), path}, &text), 3);
    EXPECT_EQ(text, QStringLiteral("Fahrt 1 (01.12.2026 08:00): Nachgetragen: erfasst am %1, "
                                   "%2 Tage nach der Ankunft\n")
                        .arg(local.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                        .arg(QDate(2026, 12, 1).daysTo(local.date())));

    // The distance "30" becomes "ab" with a hex editor: the log is judged before anything is
    // converted, and the check names the distance.
    const QByteArray distance("B\0o\0n\0n\0\2\0\0\0003\0000\000", 16);
    QByteArray noNumber = fileBytes(path);
    ASSERT_EQ(noNumber.count(distance), 1);
    noNumber.replace(noNumber.indexOf(distance) + 12, 4, QByteArray("a\000b\000", 4));
    const QString tampered = dir.filePath(QStringLiteral("ab.fbu"));
    writeFileBytes(tampered, noNumber);
    EXPECT_EQ(batch({QStringLiteral("--verify"), tampered}, &text), 3);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Außerhalb des Programms verändert: Fahrt 1 ")))
        << text.toStdString();
    EXPECT_EQ(batch({QStringLiteral("--check"), tampered}, &text), 3);
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("Fahrt 1 (01.12.2026 08:00): Entfernung \"ab\" ist keine Zahl\n")))
        << text.toStdString();

    // A finding forged into the log reaches no terminal as an escape sequence.
    LogbookDocument forged;
    EntryEvent finding;
    finding.kind = EntryEventKind::OutsideChange;
    finding.when = qQNaN();
    finding.texts = {QStringLiteral("\x1b[2Jleer")};
    forged.logbook().entryLog.append(finding);
    forged.SaveTheFileAs(dir.filePath(QStringLiteral("forged.fbu")));
    EXPECT_EQ(
        batch({QStringLiteral("--verify"), dir.filePath(QStringLiteral("forged.fbu"))}, &text), 3);
    EXPECT_EQ(text, QStringLiteral("Außerhalb des Programms verändert, festgestellt am "
                                   "unbekannter Zeitpunkt: \\x1B[2Jleer.\n"));

    // "Bonn" becomes "Bonm" with a hex editor.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const QByteArray bonn("B\0o\0n\0n\0", 8);
    ASSERT_EQ(bytes.count(bonn), 1);
    bytes[bytes.indexOf(bonn) + 6] = 'm';
    file.seek(0);
    file.write(bytes);
    file.close();
    EXPECT_EQ(batch({QStringLiteral("--verify"), path}, &text), 3);
    EXPECT_EQ(text, QStringLiteral("Außerhalb des Programms verändert: Fahrt 1 stimmt nicht mehr "
                                   "mit dem Protokoll überein; das Siegel passt nicht zum Inhalt "
                                   "der Datei.\n"));
    // Printed twice, the paper carries the file's check value, not that of each run's finding.
    const auto printedCheckValue = [&](const QString &pdf) {
        EXPECT_EQ(run({QStringLiteral("--print-pdf"), pdf, path}), 0);
        const QString printed = pdfText(pdf);
        return printed.mid(printed.indexOf(QStringLiteral("Prüfwert: ")), 26);
    };
    EXPECT_EQ(printedCheckValue(dir.filePath(QStringLiteral("1.pdf"))),
              QStringLiteral("Prüfwert: ") + logged.logbook().entryLog.checkValue());
    EXPECT_EQ(printedCheckValue(dir.filePath(QStringLiteral("2.pdf"))),
              QStringLiteral("Prüfwert: ") + logged.logbook().entryLog.checkValue());
    // Saved again, the log records it.
    EXPECT_EQ(batch({QStringLiteral("--resave"), path, path}), 0);
    EXPECT_EQ(batch({QStringLiteral("--verify"), path}, &text), 3);
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Außerhalb des Programms verändert, festgestellt am ")))
        << text.toStdString();

    EXPECT_EQ(batch({QStringLiteral("--verify"), dir.filePath(QStringLiteral("fehlt.fbu"))}, &text),
              1);
    EXPECT_EQ(text, QStringLiteral("File not found.\n"));
}

TEST_F(BatchReports, PrintPdfWritesTheLogbookThatPdftotextReadsBack)
{
    const QString pdf = dir.filePath(QStringLiteral("fahrtenbuch.pdf"));
    QString err;
    ASSERT_EQ(run({QStringLiteral("--print-pdf"), pdf, sample}, &err), 0) << err.toStdString();

    const QString text = pdfText(pdf);
    ASSERT_FALSE(text.isEmpty());
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

    // A font size the printer cannot print: a word, not an empty page.
    {
        LogbookDocument document;
        document.OpenFileWithName(sample);
        document.logbook().headingFont.sizePoints = 2160;
        document.SaveTheFile();
    }
    const QString pdf = dir.filePath(QStringLiteral("riesig.pdf"));
    EXPECT_EQ(run({QStringLiteral("--print-pdf"), pdf, sample}, &err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("„Überschrift“ ist 2160 pt groß")))
        << err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("sample.fbu")}));
}

TEST_F(BatchReports, PrintPdfTakesEveryNameTheFileSystemTakesAndWritesThroughALink)
{
    // The longest names a folder takes, in ASCII and in two-byte characters.
    const QString longest = QString(251, QLatin1Char('a')) + QStringLiteral(".pdf");
    const QString umlauts = QString(125, QChar(0x00E4)) + QStringLiteral(".pdf");
    ASSERT_EQ(QFile::encodeName(umlauts).size(), 254);
    const QString target = dir.filePath(QStringLiteral("ziel.pdf"));
    ASSERT_TRUE(writeFileBytes(target, "voriger Ausdruck"));
    const QString link = dir.filePath(QStringLiteral("verweis.pdf"));
    ASSERT_TRUE(QFile::link(target, link));
    for (const QString &out : {longest, umlauts, QStringLiteral("verweis.pdf")}) {
        QString err;
        EXPECT_EQ(run({QStringLiteral("--print-pdf"), dir.filePath(out), sample}, &err), 0)
            << err.toStdString();
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(fileBytes(target).startsWith("%PDF-"));
    QStringList expected = {longest, umlauts, QStringLiteral("sample.fbu"),
                            QStringLiteral("verweis.pdf"), QStringLiteral("ziel.pdf")};
    expected.sort();
    QStringList files = filesInDir();
    files.sort();
    EXPECT_EQ(files, expected);
}

TEST_F(BatchReports, FileSizeLimitIsReportedAndLeavesEveryFileAsItWas)
{
    const QStringList outs = {QStringLiteral("out.fbu"), QStringLiteral("out.xls"),
                              QStringLiteral("out.pdf")};
    for (const QString &out : outs)
        ASSERT_TRUE(writeFileBytes(dir.filePath(out), "vorher"));
    // The signal keeps the disposition a shell gives it: it would end the program.
    const auto limited = [] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{200, 200};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    const QList<std::pair<QString, QString>> runs = {
        {QStringLiteral("--resave"), QStringLiteral("File too large.\n")},
        {QStringLiteral("--export-xls"), QStringLiteral("Can not commit a storage.\n")},
        {QStringLiteral("--print-pdf"), QStringLiteral("File too large.\n")},
    };
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QString err;
        EXPECT_EQ(run({runs.at(i).first, dir.filePath(outs.at(i)), sample}, &err, limited), 1)
            << runs.at(i).first.toStdString();
        EXPECT_TRUE(err.endsWith(runs.at(i).second)) << err.toStdString();
        EXPECT_EQ(fileBytes(dir.filePath(outs.at(i))), QByteArray("vorher"));
    }
    EXPECT_EQ(filesInDir().size(), 4);
}

// Whether the process has a file open in the folder besides the logbooks it reads: the output,
// written without a name where the file system allows it, or under a hidden one.
bool writesInto(qint64 pid, const QString &folder)
{
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString &name :
         descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(descriptors.filePath(name));
        if (target.startsWith(folder + QLatin1Char('/')) &&
            !target.endsWith(QStringLiteral(".fbu")))
            return true;
    }
    return false;
}

TEST_F(BatchReports, SignalOrKillThatEndsPrintPdfLeavesNoTemporaryFile)
{
    const QString large = dir.filePath(QStringLiteral("gross.fbu"));
    saveLogbookFile(large, [](Logbook &logbook) {
        for (int i = 0; i < 30'000; ++i)
            logbook.trips.append(
                outwardTrip(QStringLiteral("12"), QStringLiteral("Kunde %1").arg(i)));
    });
    // A kill cannot be caught: only a file system with files that have no name until they are
    // complete keeps it from leaving the hidden one.
    QList<int> signalNumbers{SIGTERM, SIGINT};
    if (const int unnamed =
            ::open(QFile::encodeName(dir.path()).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        unnamed >= 0) {
        ::close(unnamed);
        signalNumbers.append(SIGKILL);
    }
    for (const int signalNumber : std::as_const(signalNumbers)) {
        QProcess process;
        // As an interactive shell starts it, whatever this test was started from.
        process.setChildProcessModifier([] {
            std::signal(SIGTERM, SIG_DFL);
            std::signal(SIGINT, SIG_DFL);
        });
        process.start(
            QStringLiteral(FAHRTENBUCH_EXECUTABLE),
            {QStringLiteral("--print-pdf"), dir.filePath(QStringLiteral("out.pdf")), large});
        ASSERT_TRUE(process.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (!writesInto(process.processId(), QDir(dir.path()).canonicalPath()) &&
               waited.elapsed() < 30'000)
            QThread::msleep(2);
        ASSERT_LT(waited.elapsed(), 30'000) << "no output file seen";
        ::kill(pid_t(process.processId()), signalNumber);
        ASSERT_TRUE(process.waitForFinished(30'000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << signalNumber;
        EXPECT_EQ(filesInDir(),
                  QStringList({QStringLiteral("gross.fbu"), QStringLiteral("sample.fbu")}))
            << signalNumber;
    }
}

} // namespace
