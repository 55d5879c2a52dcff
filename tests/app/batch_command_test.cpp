#include "app/batch_command.h"

#include "model/logbook_document.h"
#include "model/trip_columns.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

using namespace fb;

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

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class BatchCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        LogbookDocument document;
        Logbook &logbook = document.logbook();
        logbook.master.lastName = QStringLiteral("Weiß");
        logbook.master.startKm = 1000;
        logbook.trips.append(Row{QStringLiteral("07.12.2026 08:00:00"),
                                 {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"),
                                  QStringLiteral("Bonn"), QStringLiteral("30,5"),
                                  QStringLiteral("Kunde"), QStringLiteral("Geschäftlich")}});
        logbook.trips.append(
            Row{QStringLiteral("08.12.2026"),
                {QStringLiteral("Bonn"), QStringLiteral("08.12.2026 01:00:00"),
                 QStringLiteral("Köln"), QStringLiteral("30"), QStringLiteral("zurück"),
                 QStringLiteral("Privat"), QStringLiteral("Ja")}});
        document.setFileName(sample);
        ASSERT_TRUE(document.SaveTheFile());
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
    EXPECT_TRUE(result.err.isEmpty());
}

TEST_F(BatchCommand, ResaveReproducesAProgramWrittenFile)
{
    // The sample's rows have seven sub-items until the odometer pass pads them; one
    // resave brings the file into the form the program writes, the next must not change it.
    const QString once = path(QStringLiteral("once.fbu"));
    const QString twice = path(QStringLiteral("twice.fbu"));
    ASSERT_EQ(runWith({QStringLiteral("--resave"), once, sample}).exitCode, 0);
    ASSERT_EQ(runWith({QStringLiteral("--resave"), twice, once}).exitCode, 0);
    EXPECT_EQ(bytesOf(twice), bytesOf(once));
    EXPECT_GT(bytesOf(once).size(), bytesOf(sample).size());
}

TEST_F(BatchCommand, ErrorsGoToStandardErrorWithAFullStopAndWriteNothing)
{
    QByteArray damaged = bytesOf(sample);
    damaged.chop(30);
    const QString damagedPath = path(QStringLiteral("damaged.fbu"));
    {
        QFile file(damagedPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
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
    EXPECT_EQ(process.readAllStandardError(), QByteArray("File access denied.\n"));

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
    EXPECT_TRUE(bytesOf(xls).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));

    result = runWith({QStringLiteral("--export-xls"), path(QStringLiteral("fehlt/x.xls")), sample});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, QStringLiteral("Can not create a docfile.\n"));

    result =
        runWith({QStringLiteral("--export-xls"), xls, QStringLiteral("--resave"), xls, sample});
    EXPECT_EQ(result.exitCode, 2);
}

TEST_F(BatchCommand, AConversionErrorShowsTheFileTextEscapedAndCut)
{
    // A distance text that would set the terminal's title, ring its bell and break the line,
    // followed by far more text than a message line should carry.
    const QString hostile = QStringLiteral("\x1B]0;owned\x07\r\n") + QString(300, QLatin1Char('9'));
    {
        LogbookDocument document;
        document.logbook().trips.append(Row{
            QStringLiteral("07.12.2026 08:00:00"),
            {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"), QStringLiteral("Bonn"),
             hostile, QStringLiteral("Kunde"), QStringLiteral("Geschäftlich")}});
        document.setFileName(path(QStringLiteral("hostile.fbu")));
        ASSERT_TRUE(document.SaveTheFile());
    }
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
    {
        LogbookDocument document;
        for (int i = 0; i < 2000; ++i)
            document.logbook().trips.append(Row{
                QStringLiteral("07.12.2026 08:00:00"),
                {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"),
                 QStringLiteral("Bonn"), QStringLiteral("30,5"),
                 QStringLiteral("Kundentermin Nr. %1").arg(i), QStringLiteral("Geschäftlich")}});
        document.setFileName(path(QStringLiteral("large.fbu")));
        ASSERT_TRUE(document.SaveTheFile());
    }
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
    EXPECT_EQ(process.readAllStandardError(),
              QByteArray("I/O error ") + QByteArray::number(EFBIG) + ".\n");
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

// Runs the executable as a terminal without a display would: were it to open a window, Qt
// would abort for want of one.
ProcessResult runWithoutDisplay(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
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
    EXPECT_TRUE(result.err.endsWith(".\n" + kExitHandlersRan)) << result.err.data();
}
