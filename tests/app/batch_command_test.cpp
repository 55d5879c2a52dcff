#include "app/batch_command.h"

#include "core/ole_date.h"
#include "model/trip_columns.h"
#include "storage/logbook_document.h"
#include "storage/logbook_lock.h"
#include "ui/window/product.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "file_size_limit.h"
#include "sample_logbook.h"

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace fb;
using namespace fb::test;

namespace {

struct BatchResult {
    int exitCode = -1;
    QString out;
    QString err;
};

BatchResult runWith(const QStringList &options)
{
    BatchResult result;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QTextStream err(&result.err);
    result.exitCode = runBatch(QStringList{QStringLiteral("fahrtenbuch")} + options, out, err);
    result.out = QString::fromUtf8(out.data());
    return result;
}

class BatchCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        saveLogbookFile(sample, [](Logbook &logbook) {
            logbook.master.lastName = QStringLiteral("Weiß");
            logbook.master.startKm = 1000;
            logbook.trips.append(outwardTrip(QStringLiteral("30,5")));
            logbook.trips.append(returnTrip(QStringLiteral("30"), QStringLiteral("Ja")));
        });
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    const QString sample = dir.filePath(QStringLiteral("sample.fbu"));
};

} // namespace

TEST_F(BatchCommand, DumpJsonShowsTheWholeDocumentAfterTheOdometerPass)
{
    const BatchResult result = runWith({QStringLiteral("--dump-json"), sample});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
    const QJsonArray trips = json[QStringLiteral("trips")].toArray();
    ASSERT_EQ(trips.size(), 2);
    const QJsonArray first = trips[0][QStringLiteral("subitems")].toArray();
    ASSERT_EQ(first.size(), 9);
    EXPECT_EQ(first[0].toString(), QStringLiteral("Köln"));
    EXPECT_EQ(first[TripSubItem::KmEnd].toString(), QStringLiteral("1030,5"));
    EXPECT_EQ(trips[1][QStringLiteral("subitems")][TripSubItem::KmEnd].toString(),
              QStringLiteral("1030,5"));
    EXPECT_EQ(json[QStringLiteral("masterData")][QStringLiteral("lastName")].toString(),
              QStringLiteral("Weiß"));
    EXPECT_EQ(json[QStringLiteral("masterData")][QStringLiteral("firstRegistration")]
                  [QStringLiteral("text")]
                      .toString(),
              QStringLiteral("03.04.2008 18:10:00"));
    EXPECT_EQ(json[QStringLiteral("printSettings")][QStringLiteral("heading")].toString(),
              QStringLiteral("Fahrtenbuch"));
    EXPECT_EQ(json[QStringLiteral("headingFont")][QStringLiteral("face")].toString(),
              QStringLiteral("Arial Black"));
    EXPECT_EQ(json[QStringLiteral("textFont")][QStringLiteral("bold")].toBool(), true);
    EXPECT_EQ(json[QStringLiteral("entryLog")].toArray().size(), 0);
    EXPECT_EQ(json[QStringLiteral("entryLogState")].toString(), QStringLiteral("none"));
    EXPECT_TRUE(result.err.isEmpty());
}

TEST_F(BatchCommand, DumpJsonShowsTheEntryLogWithTodaysRows)
{
    LogbookDocument document;
    document.OpenFileWithName(sample);
    const QDateTime late(QDate(2026, 12, 9), QTime(18, 30), Qt::UTC);
    // Entered last, departing first: it goes to the top, and the rows below move.
    document.apply({NewTrip{Row{QStringLiteral("06.12.2026 08:00:00"),
                                {QStringLiteral("Ulm"), QStringLiteral("06.12.2026 09:00:00"),
                                 QStringLiteral("Bonn"), QStringLiteral("5"),
                                 QStringLiteral("Kunde"), QStringLiteral("Geschäftlich")}}},
                    late});
    Row changed = document.logbook().trips.at(1);
    changed.subItems[TripSubItem::Distance] = QStringLiteral("31");
    document.apply({ChangeTrip{1, changed}, late.addSecs(60)});
    document.SaveTheFile();

    const BatchResult result = runWith({QStringLiteral("--dump-json"), sample});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
    EXPECT_EQ(json[QStringLiteral("entryLogState")].toString(), QStringLiteral("intact"));
    const QJsonArray log = json[QStringLiteral("entryLog")].toArray();
    ASSERT_EQ(log.size(), 3);
    const QJsonObject entered = log[0].toObject();
    EXPECT_EQ(entered[QStringLiteral("kind")].toString(), QStringLiteral("entered"));
    EXPECT_EQ(entered[QStringLiteral("row")].toInt(), 0);
    EXPECT_EQ(entered[QStringLiteral("when")][QStringLiteral("value")].toDouble(), toOleDate(late));
    EXPECT_EQ(entered[QStringLiteral("when")][QStringLiteral("text")].toString(),
              late.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    EXPECT_EQ(entered[QStringLiteral("digest")].toString().size(), 64);
    // The trip of the 7th, loaded unlogged, now row 1: its change is logged as its deletion
    // and the new version below it, which the deleted trip of the 8th follows.
    EXPECT_EQ(log[1][QStringLiteral("kind")].toString(), QStringLiteral("deleted"));
    EXPECT_EQ(log[1][QStringLiteral("row")].toInt(), 1);
    EXPECT_EQ(log[2][QStringLiteral("kind")].toString(), QStringLiteral("entered"));
    EXPECT_EQ(log[2][QStringLiteral("row")].toInt(), 2);
    EXPECT_EQ(log[2][QStringLiteral("replacesRow")].toInt(), 1);
}

TEST_F(BatchCommand, ResaveReproducesAProgramWrittenFile)
{
    // The sample's rows have seven sub-items until the odometer pass pads them; one
    // resave brings the file into the form the program writes, the next must not change it.
    const QString once = path(QStringLiteral("once.fbu"));
    const QString twice = path(QStringLiteral("twice.fbu"));
    ASSERT_EQ(runWith({QStringLiteral("--resave"), once, sample}).exitCode, 0);
    ASSERT_EQ(runWith({QStringLiteral("--resave"), twice, once}).exitCode, 0);
    EXPECT_EQ(fileBytes(twice), fileBytes(once));
    EXPECT_GT(fileBytes(once).size(), fileBytes(sample).size());
}

TEST_F(BatchCommand, NeitherTakesNorHeedsTheWindowsLock)
{
    const QString fresh = path(QStringLiteral("fresh.fbu"));
    ASSERT_EQ(runWith({QStringLiteral("--resave"), fresh, sample}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(LogbookLock::lockPathFor(sample)));
    EXPECT_FALSE(QFile::exists(LogbookLock::lockPathFor(fresh)));

    // A window has both open: the command line reads one and writes the other all the same.
    const LogbookLock windowOnSample(sample);
    const LogbookLock windowOnFresh(fresh);
    ASSERT_EQ(windowOnFresh.state(), LogbookLock::State::Held);
    EXPECT_EQ(runWith({QStringLiteral("--resave"), fresh, sample}).exitCode, 0);
    EXPECT_EQ(runWith({QStringLiteral("--evaluate"), fresh}).exitCode, 0);
}

TEST_F(BatchCommand, ErrorsGoToStandardErrorWithAFullStopAndWriteNothing)
{
    QByteArray damaged = fileBytes(sample);
    damaged.chop(30);
    const QString damagedPath = path(QStringLiteral("damaged.fbu"));
    ASSERT_TRUE(writeFileBytes(damagedPath, damaged));
    const QString out = path(QStringLiteral("out.fbu"));

    BatchResult result = runWith({QStringLiteral("--resave"), out, damagedPath});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, QStringLiteral("Read beyond end of file.\n"));
    EXPECT_FALSE(QFile::exists(out));

    result = runWith({QStringLiteral("--dump-json"), path(QStringLiteral("missing.fbu"))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, QStringLiteral("File not found.\n"));
    EXPECT_TRUE(result.out.isEmpty());

    result = runWith({QStringLiteral("--resave"), path(QStringLiteral("no/such/dir.fbu")), sample});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.isEmpty());

    // A command line that cannot be understood is a usage error.
    EXPECT_EQ(runWith({QStringLiteral("--resave"), out}).exitCode, 2);
    EXPECT_EQ(runWith({QStringLiteral("--bogus")}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(BatchCommand, ResaveThatCannotWriteEveryByteFailsAndKeepsTheTarget)
{
    // The target holds the sample as it is; the resave pads its rows and makes it longer.
    const QString out = path(QStringLiteral("out.fbu"));
    const QByteArray before = fileBytes(sample);
    ASSERT_TRUE(QFile::copy(sample, out));
    QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    for (qint64 limit = 0; limit < before.size(); ++limit) {
        BatchResult result;
        {
            const test::FileSizeLimit cut(static_cast<rlim_t>(limit));
            result = runWith({QStringLiteral("--resave"), out, sample});
        }
        ASSERT_EQ(result.exitCode, 1) << "resaved under a limit of " << limit << " bytes";
        EXPECT_FALSE(result.err.isEmpty()) << limit;
        ASSERT_EQ(fileBytes(out), before) << limit;
    }

    QProcess process;
    {
        const test::FileSizeLimit cut(static_cast<rlim_t>(before.size() - 1));
        process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                      {QStringLiteral("--resave"), out, sample});
        ASSERT_TRUE(process.waitForFinished(30000));
    }
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_FALSE(process.readAllStandardError().isEmpty());
    EXPECT_EQ(fileBytes(out), before);
}

TEST_F(BatchCommand, ResaveAndExportRefuseNonFilesAndWriteProtectedFilesAlike)
{
    const QString pipe = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString protectedPath = path(QStringLiteral("schreibgeschuetzt"));
    ASSERT_TRUE(QFile::copy(sample, protectedPath));
    QFile::setPermissions(protectedPath, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const QByteArray before = fileBytes(protectedPath);

    for (const QString &option : {QStringLiteral("--resave"), QStringLiteral("--export-xls")}) {
        for (const QString &target : {pipe, protectedPath}) {
            const BatchResult result = runWith({option, target, sample});
            EXPECT_EQ(result.exitCode, 1) << option.toStdString() << ' ' << target.toStdString();
            EXPECT_EQ(result.err, QStringLiteral("File access denied.\n"));
        }
    }
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(fileBytes(protectedPath), before);

    QProcess process;
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                  {QStringLiteral("--resave"), pipe, sample});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError(), QByteArray("File access denied.\n"));
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(BatchCommand, ExportOntoItsOwnLogbookIsRefusedWhileResaveMayReplaceIt)
{
    const QByteArray before = fileBytes(sample);
    const QString link = path(QStringLiteral("verweis.xls"));
    ASSERT_TRUE(QFile::link(sample, link));
    const QString refusal = QStringLiteral(
        "Der Export würde das Fahrtenbuch selbst überschreiben. Bitte eine andere Datei wählen.\n");
    for (const QString &target : {sample, link}) {
        const BatchResult result = runWith({QStringLiteral("--export-xls"), target, sample});
        EXPECT_EQ(result.exitCode, 1) << target.toStdString();
        EXPECT_EQ(result.err, refusal);
    }
    EXPECT_EQ(fileBytes(sample), before);

    QProcess process;
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                  {QStringLiteral("--export-xls"), sample, sample});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), refusal);
    EXPECT_EQ(fileBytes(sample), before);

    // The resave replaces its input only once the new file is complete.
    const BatchResult result = runWith({QStringLiteral("--resave"), sample, sample});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(runWith({QStringLiteral("--dump-json"), sample}).exitCode, 0);
}

TEST_F(BatchCommand, InputsThatAreNoFilesAreRefusedAtOnce)
{
    const QString pipe = path(QStringLiteral("pipe.fbu"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString refusal =
        QStringLiteral("Keine gewöhnliche Datei: Ordner, Geräte und Pipes lassen sich nicht "
                       "öffnen.\n");
    const QString out = path(QStringLiteral("out.fbu"));
    for (const QString &input : {pipe, dir.path()}) {
        BatchResult result = runWith({QStringLiteral("--dump-json"), input});
        EXPECT_EQ(result.exitCode, 1) << input.toStdString();
        EXPECT_EQ(result.err, refusal);
        EXPECT_TRUE(result.out.isEmpty());
        result = runWith({QStringLiteral("--resave"), out, input});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, refusal);
    }
    EXPECT_FALSE(QFile::exists(out));

    QProcess process;
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                  {QStringLiteral("--dump-json"), QStringLiteral("/dev/zero")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), refusal);
}

TEST_F(BatchCommand, TheExecutableReportsThroughItsExitCode)
{
    QProcess process;
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), {QStringLiteral("--dump-json"), sample});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().contains("\"Köln\""));

    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                  {QStringLiteral("--dump-json"), dir.path()});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
              QStringLiteral("Keine gewöhnliche Datei: Ordner, Geräte und Pipes lassen sich "
                             "nicht öffnen.\n"));

    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), {QStringLiteral("--help")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().contains("--resave"));
}

TEST_F(BatchCommand, ExportXlsWritesTheSpreadsheetOrSaysWhyNot)
{
    const QString xls = path(QStringLiteral("fahrten.xls"));
    BatchResult result = runWith({QStringLiteral("--export-xls"), xls, sample});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // A compound file starts with its signature.
    EXPECT_TRUE(fileBytes(xls).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));

    result = runWith({QStringLiteral("--export-xls"), path(QStringLiteral("fehlt/x.xls")), sample});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, QStringLiteral("Can not create a docfile.\n"));

    result =
        runWith({QStringLiteral("--export-xls"), xls, QStringLiteral("--resave"), xls, sample});
    EXPECT_EQ(result.exitCode, 2);
}

TEST_F(BatchCommand, ExportAuditWritesTheFolderOrSaysWhyNot)
{
    const QString folder = path(QStringLiteral("pruefung"));
    BatchResult result = runWith({QStringLiteral("--export-audit"), folder, sample});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/fahrten.csv")).count("\r\n"), 1 + 2);

    result = runWith({QStringLiteral("--export-audit"), folder, sample});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("Der Ordner „"))) << result.err.toStdString();
    EXPECT_TRUE(result.err.endsWith(QStringLiteral("wählen.\n")));
    result = runWith({QStringLiteral("--export-audit"), folder});
    EXPECT_EQ(result.exitCode, 2);
}

TEST_F(BatchCommand, AConversionErrorShowsTheFileTextEscapedAndCut)
{
    // A distance text that would set the terminal's title, ring its bell and break the line,
    // followed by far more text than a message line should carry.
    const QString hostile = QStringLiteral("\x1B]0;owned\x07\r\n") + QString(300, QLatin1Char('9'));
    saveLogbookFile(path(QStringLiteral("hostile.fbu")),
                    [&](Logbook &logbook) { logbook.trips.append(outwardTrip(hostile)); });
    const QString shown = QStringLiteral("\\x1B]0;owned\\x07\\x0D\\x0A") +
                          QString(100 - 12, QLatin1Char('9')) + QStringLiteral("…");
    const QString expected =
        QStringLiteral("'%1' is not a valid floating point value.\n").arg(shown);

    QProcess process;
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                  {QStringLiteral("--dump-json"), path(QStringLiteral("hostile.fbu"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), expected);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());

    const QString out = path(QStringLiteral("out.xls"));
    const BatchResult result =
        runWith({QStringLiteral("--export-xls"), out, path(QStringLiteral("hostile.fbu"))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, expected);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(BatchCommand, DumpJsonReportsAFailedWrite)
{
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), {QStringLiteral("--dump-json"), sample});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError(), QByteArray("Disk full.\n"));
}

TEST_F(BatchCommand, DumpJsonReportsAWriteThatFailsPartWay)
{
    // Enough trips for several pieces of output; the file-size limit stops the second piece.
    saveLogbookFile(path(QStringLiteral("large.fbu")), [](Logbook &logbook) {
        for (int i = 0; i < 2000; ++i)
            logbook.trips.append(
                outwardTrip(QStringLiteral("30,5"), QStringLiteral("Kundentermin Nr. %1").arg(i)));
    });
    constexpr rlim_t kLimit = 100'000;
    const QString json = path(QStringLiteral("large.json"));
    QProcess process;
    process.setStandardOutputFile(json);
    process.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{kLimit, kLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                  {QStringLiteral("--dump-json"), path(QStringLiteral("large.fbu"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError(), QByteArray("File too large.\n"));
    EXPECT_EQ(QFileInfo(json).size(), qint64{kLimit});

    // Without the limit the same run succeeds and writes more.
    QProcess unlimited;
    unlimited.setStandardOutputFile(json);
    unlimited.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE),
                    {QStringLiteral("--dump-json"), path(QStringLiteral("large.fbu"))});
    ASSERT_TRUE(unlimited.waitForFinished(30000));
    EXPECT_EQ(unlimited.exitCode(), 0);
    EXPECT_GT(QFileInfo(json).size(), qint64{kLimit});
}

namespace {

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the executable as a terminal without a display or a login session would (a cron job,
// a login over the network): were it to open a window, Qt would abort for want of one.
ProcessResult runWithoutDisplay(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(EXIT_PROBE));
    // A sanitized build's runtime wants to be loaded first; the probe needs no checking.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) +
                           QStringLiteral(":verify_asan_link_order=0"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FAHRTENBUCH_EXECUTABLE), arguments);
    ProcessResult result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

const QByteArray kExitHandlersRan = "exit handlers ran\n";

} // namespace

TEST_F(BatchCommand, AnUnknownOptionGetsTheUsageAndExitCodeTwoWithoutAWindow)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--dump-jsn"), sample},
          QStringList{QStringLiteral("-x")}, QStringList{sample, QStringLiteral("--bogus")}}) {
        const ProcessResult result = runWithoutDisplay(arguments);
        const QString shown = arguments.join(QLatin1Char(' ')).toHtmlEscaped();
        EXPECT_EQ(result.exitCode, 2) << shown.toStdString();
        EXPECT_TRUE(result.err.startsWith("fahrtenbuch: Unknown option '")) << result.err.data();
        EXPECT_TRUE(result.err.contains("\nUsage: fahrtenbuch [FILE.fbu]\n")) << result.err.data();
        EXPECT_TRUE(result.err.contains("--export-xls OUT.xls FILE.fbu\n"));
        EXPECT_TRUE(result.err.endsWith(kExitHandlersRan));
        EXPECT_TRUE(result.out.isEmpty());
    }
}

TEST_F(BatchCommand, VersionPrintsTheProjectVersion)
{
    const ProcessResult result = runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QByteArray("Fahrtenbuch " FAHRTENBUCH_VERSION "\n"));
    EXPECT_EQ(result.err, kExitHandlersRan);
    // The caption and the about box name the same version.
    EXPECT_EQ(kProductName, QStringLiteral("Tervona Fahrtenbuch " FAHRTENBUCH_VERSION));
}

TEST_F(BatchCommand, ARunThatSucceedsSaysNothingOnStandardError)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--print-pdf"), path(QStringLiteral("a.pdf")), sample},
          QStringList{QStringLiteral("--export-xls"), path(QStringLiteral("a.xls")), sample},
          QStringList{QStringLiteral("--resave"), path(QStringLiteral("a.fbu")), sample},
          QStringList{QStringLiteral("--evaluate"), sample},
          QStringList{QStringLiteral("--dump-json"), sample}}) {
        const ProcessResult result = runWithoutDisplay(arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments.first().toStdString();
        EXPECT_EQ(result.err.toStdString(), kExitHandlersRan.toStdString())
            << arguments.first().toStdString();
    }
}

TEST_F(BatchCommand, TheExecutableEndsThroughExitSoDestructorsAndHandlersRun)
{
    ProcessResult result = runWithoutDisplay({QStringLiteral("--dump-json"), sample});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.endsWith("}\n"));
    EXPECT_EQ(result.err, kExitHandlersRan);

    result =
        runWithoutDisplay({QStringLiteral("--export-xls"), path(QStringLiteral("a.xls")), sample});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, kExitHandlersRan);

    result =
        runWithoutDisplay({QStringLiteral("--resave"), path(QStringLiteral("x/y.fbu")), sample});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.endsWith(QByteArray(".\n" + kExitHandlersRan))) << result.err.data();
}
