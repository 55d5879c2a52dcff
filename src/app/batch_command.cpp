#include "batch_command.h"

#include "checks/entry_log_report.h"
#include "checks/evaluation.h"
#include "checks/logbook_check.h"
#include "core/error.h"
#include "core/file_error.h"
#include "export/audit_export.h"
#include "export/export_target.h"
#include "export/trip_export.h"
#include "print/pdf_output.h"
#include "storage/logbook_document.h"
#include "storage/logbook_json.h"
#include "ui/window/product.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cerrno>
#include <functional>
#include <new>
#include <optional>
#include <vector>

namespace fb {
namespace {

const QString kPrintPdf = QStringLiteral("print-pdf");

constexpr int kUsageExitCode = 2;
// --check found doubtful trips: not a failure of the program, but a script must tell.
constexpr int kFindingsExitCode = 3;
// --verify: the file was changed outside the program; and the file keeps no entry log.
constexpr int kChangedOutsideExitCode = 3;
constexpr int kNoEntryLogExitCode = 4;
constexpr auto kUsage = "Usage: fahrtenbuch [FILE.fbu]\n"
                        "       fahrtenbuch --dump-json FILE.fbu\n"
                        "       fahrtenbuch --resave OUT.fbu FILE.fbu\n"
                        "       fahrtenbuch --export-xls OUT.xls FILE.fbu\n"
                        "       fahrtenbuch --export-audit DIR FILE.fbu\n"
                        "       fahrtenbuch --evaluate FILE.fbu\n"
                        "       fahrtenbuch --print-pdf OUT.pdf FILE.fbu\n"
                        "       fahrtenbuch --check FILE.fbu\n"
                        "       fahrtenbuch --verify FILE.fbu\n"
                        "       fahrtenbuch --help | --version\n";

int fail(QTextStream &err, const QString &message)
{
    err << displayMessage(message) << '\n';
    err.flush();
    return 1;
}

// The one line --verify prints, and its exit code.
std::pair<QString, int> verdictOn(const LogbookDocument &document)
{
    const EntryLog &log = document.logbook().entryLog;
    if (!document.outsideChangeFound().isEmpty())
        return {QStringLiteral("Außerhalb des Programms verändert: %1.")
                    .arg(document.outsideChangeFound()),
                kChangedOutsideExitCode};
    switch (log.state()) {
    case EntryLogState::None:
        return {QStringLiteral("Kein Änderungsprotokoll: Die Datei wurde ohne Protokoll "
                               "gespeichert."),
                kNoEntryLogExitCode};
    case EntryLogState::Intact:
        return {QStringLiteral("Änderungsprotokoll intakt: %1 %2, Prüfwert %3.")
                    .arg(log.events().size())
                    .arg(log.events().size() == 1 ? QStringLiteral("Ereignis")
                                                  : QStringLiteral("Ereignisse"),
                         log.checkValue()),
                0};
    case EntryLogState::ChangedOutside:
        break;
    }
    for (auto event = log.events().rbegin(); event != log.events().rend(); ++event) {
        if (event->kind == EntryEventKind::OutsideChange)
            return {QStringLiteral("Außerhalb des Programms verändert, festgestellt am %1: %2.")
                        .arg(localMomentText(event->when), event->texts.value(0)),
                    kChangedOutsideExitCode};
    }
    return {QString(), kChangedOutsideExitCode};
}

// Prints a text of the command line itself (help, version) on out.
int print(QIODevice &out, QTextStream &err, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (out.write(bytes) != bytes.size()) {
        const int errorNumber = errno;
        return fail(err, FileError(errorNumber != 0 ? errorNumber : ENOSPC).message());
    }
    return 0;
}

// The options Qt's window system integration reads itself (-platform offscreen, -style
// Fusion, ...), with one dash or two: whether the option takes a value; nothing for any
// other argument.
std::optional<bool> windowSystemOptionTakesValue(const QString &argument)
{
    static const QStringList withValue = {
        QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
        QStringLiteral("session"),       QStringLiteral("display"),
        QStringLiteral("geometry"),      QStringLiteral("name"),
        QStringLiteral("title"),         QStringLiteral("visual"),
        QStringLiteral("style"),         QStringLiteral("stylesheet")};
    static const QStringList flags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("nograb"), QStringLiteral("dograb"),
                                      QStringLiteral("sync")};
    QStringView name(argument);
    name = name.mid(name.startsWith(QLatin1String("--")) ? 2 : 1);
    name = name.left(name.indexOf(QLatin1Char('=')));
    if (withValue.contains(name))
        return true;
    if (flags.contains(name))
        return false;
    return std::nullopt;
}

// The arguments without the window system's options and their values: a run without a
// window has no use for them.
QStringList withoutWindowSystemOptions(const QStringList &arguments)
{
    QStringList kept = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const std::optional<bool> takesValue = argument.startsWith(QLatin1Char('-'))
                                                   ? windowSystemOptionTakesValue(argument)
                                                   : std::nullopt;
        if (!takesValue)
            kept.append(argument);
        else if (*takesValue && !argument.contains(QLatin1Char('=')))
            ++i;
    }
    return kept;
}

// A command line the program does not understand: what is wrong, and how it is used.
int usageError(QTextStream &err, const QString &problem)
{
    err << "fahrtenbuch: " << problem << '\n' << kUsage;
    err.flush();
    return kUsageExitCode;
}

// What a command works with: where it prints, and the logbook it loads.
struct BatchRun {
    QIODevice &out;
    QTextStream &err;
    LogbookDocument &document;
};

// One command of the command line: its option; whether the option's value is the logbook FILE
// (--check FILE) or the OUT it writes, with the FILE after it (--resave OUT FILE); how the load
// treats a distance that is no number; and what it does with the loaded logbook.
struct BatchCommand {
    QCommandLineOption option;
    bool valueIsFile = true;
    UnreadableDistance onUnreadable = UnreadableDistance::Fail;
    bool needsGui = false;
    std::function<int(BatchRun &run, const QString &out)> perform;
};

int dumpJson(BatchRun &run, const QString &)
{
    writeLogbookJson(run.document.logbook(), run.out);
    return 0;
}

int resave(BatchRun &run, const QString &target)
{
    run.document.SaveTheFileAs(target);
    return 0;
}

int exportXls(BatchRun &run, const QString &target)
{
    refuseExportOntoLogbook(target, run.document.fileName());
    exportTripsToXls(run.document.logbook().trips, target);
    return 0;
}

int exportAudit(BatchRun &run, const QString &folder)
{
    exportAuditData(run.document.logbook(), folder);
    return 0;
}

int evaluate(BatchRun &run, const QString &)
{
    QString text;
    for (const QString &line : evaluationLines(evaluateTrips(run.document.logbook().trips)))
        text += line + QLatin1Char('\n');
    return print(run.out, run.err, text);
}

int check(BatchRun &run, const QString &)
{
    const Logbook &logbook = run.document.logbook();
    const std::vector<Finding> findings = checkLogbook(logbook);
    QString text;
    for (const Finding &finding : findings)
        text += findingLine(logbook.trips, finding) + QLatin1Char('\n');
    const int printed = print(run.out, run.err, text);
    return printed != 0 || findings.empty() ? printed : kFindingsExitCode;
}

int verify(BatchRun &run, const QString &)
{
    const auto [line, exitCode] = verdictOn(run.document);
    // The verdict may quote what a file says of itself.
    const int printed = print(run.out, run.err, controlsEscaped(line) + QLatin1Char('\n'));
    return printed != 0 ? printed : exitCode;
}

int printPdf(BatchRun &run, const QString &target)
{
    // "Zeit ausdrucken" is not stored in the file: on, as at every program start.
    run.document.logbook().print.printTimes = true;
    printLogbookToPdf(run.document.logbook(), target, run.document.fileName());
    return 0;
}

std::vector<BatchCommand> batchCommands()
{
    const auto option = [](const QString &name, const char *description, const char *value) {
        return QCommandLineOption(name, QString::fromUtf8(description), QString::fromUtf8(value));
    };
    std::vector<BatchCommand> commands;
    commands.push_back(
        {option(QStringLiteral("dump-json"), "Print the logbook FILE as JSON.", "FILE"), true,
         UnreadableDistance::Fail, false, dumpJson});
    commands.push_back(
        {option(QStringLiteral("resave"), "Load FILE and save it again to OUT.", "OUT"), false,
         UnreadableDistance::Fail, false, resave});
    commands.push_back(
        {option(QStringLiteral("export-xls"),
                "Load FILE and export its trips to the spreadsheet OUT (.xls).", "OUT"),
         false, UnreadableDistance::Fail, false, exportXls});
    commands.push_back({option(QStringLiteral("export-audit"),
                               "Load FILE and write the data a tax audit reads into the folder "
                               "DIR (created if missing, else empty): index.xml with its DTD, "
                               "fahrten.csv, protokoll.csv and stammdaten.csv.",
                               "DIR"),
                        false, UnreadableDistance::Fail, false, exportAudit});
    commands.push_back(
        {option(QStringLiteral("evaluate"), "Print the evaluation of the logbook FILE.", "FILE"),
         true, UnreadableDistance::Fail, false, evaluate});
    // Fonts and their metrics need the graphical side of Qt.
    commands.push_back({option(kPrintPdf,
                               "Load FILE and print it with its print settings into the PDF "
                               "file OUT (A4).",
                               "OUT"),
                        false, UnreadableDistance::Fail, true, printPdf});
    // A distance that is no number is one of the check's findings.
    commands.push_back({option(QStringLiteral("check"),
                               "Check the logbook FILE as an auditor reads it: one line per "
                               "doubtful trip; exit code 3 when there is one.",
                               "FILE"),
                        true, UnreadableDistance::Keep, false, check});
    // The log is judged before anything is converted.
    commands.push_back({option(QStringLiteral("verify"),
                               "Check the entry log of the logbook FILE: exit code 0 when it is "
                               "intact, 3 when the file was changed outside the program, 4 when "
                               "it keeps no log.",
                               "FILE"),
                        true, UnreadableDistance::Keep, false, verify});
    return commands;
}

// Checks the command's arguments, loads the logbook and runs the command; every failure is one
// German or English line on the error stream.
int runCommand(const BatchCommand &command, const QCommandLineParser &parser, BatchRun run)
{
    const QString name = QStringLiteral("--") + command.option.names().constFirst();
    const QStringList positional = parser.positionalArguments();
    if (command.valueIsFile ? !positional.isEmpty() : positional.size() != 1)
        return usageError(run.err,
                          command.valueIsFile
                              ? QStringLiteral("%1 takes exactly one FILE.").arg(name)
                              : QStringLiteral("%1 takes OUT and exactly one FILE.").arg(name));
    if (command.needsGui && !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fail(run.err, QStringLiteral("%1 needs a Qt GUI application").arg(name));
    const QString value = parser.value(command.option);
    try {
        // Reading never takes the window's lock beside the file, and never waits for it.
        run.document.OpenFileWithName(command.valueIsFile ? value : positional.constFirst(),
                                      command.onUnreadable);
        return command.perform(run, value);
    } catch (const Error &error) {
        return fail(run.err, error.message());
    } catch (const std::bad_alloc &) {
        return fail(run.err, QStringLiteral("Out of memory"));
    }
}

} // namespace

bool isBatchInvocation(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            continue;
        const std::optional<bool> takesValue = windowSystemOptionTakesValue(argument);
        if (!takesValue)
            return true;
        if (*takesValue && !argument.contains(QLatin1Char('=')))
            ++i;
    }
    return false;
}

bool batchNeedsGui(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--") + kPrintPdf ||
            argument.startsWith(QLatin1String("--") + kPrintPdf + QLatin1Char('=')))
            return true;
    }
    return false;
}

int runBatch(const QStringList &arguments, QIODevice &out, QTextStream &err)
{
    LogbookDocument document(PrintFont::kStandardPixelsPerInch);
    return runBatch(arguments, out, err, document);
}

int runBatch(const QStringList &arguments, QIODevice &out, QTextStream &err,
             LogbookDocument &document)
{
    const std::vector<BatchCommand> commands = batchCommands();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Fahrtenbuch: a vehicle trip logbook. Without options it opens the "
                       "window, with a logbook FILE.fbu if one is named."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const BatchCommand &command : commands)
        parser.addOption(command.option);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The logbook file (.fbu) to read."));
    if (!parser.parse(withoutWindowSystemOptions(arguments)))
        return usageError(err, parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return print(out, err, parser.helpText());
    if (parser.isSet(version))
        return print(out, err, QStringLiteral("Fahrtenbuch %1\n").arg(kProductVersion));

    const BatchCommand *chosen = nullptr;
    for (const BatchCommand &command : commands) {
        if (!parser.isSet(command.option))
            continue;
        if (chosen)
            return usageError(err,
                              QStringLiteral("Give one of --dump-json, --resave, --export-xls, "
                                             "--export-audit, --evaluate, --print-pdf, "
                                             "--check, --verify."));
        chosen = &command;
    }
    if (!chosen)
        return usageError(err, QStringLiteral("Nothing to do."));
    return runCommand(*chosen, parser, BatchRun{out, err, document});
}

} // namespace fb
