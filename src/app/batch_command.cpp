#include "batch_command.h"

#include "core/error.h"
#include "export/trip_export.h"
#include "model/file_error.h"
#include "model/logbook_document.h"
#include "model/logbook_json.h"

#include <QCommandLineParser>

#include <cerrno>
#include <new>
#include <optional>

namespace fb {
namespace {

const QString kDumpJson = QStringLiteral("dump-json");
const QString kResave = QStringLiteral("resave");
const QString kExportXls = QStringLiteral("export-xls");

struct BatchOptions {
    QCommandLineOption dumpJson{kDumpJson, QStringLiteral("Print the logbook FILE as JSON."),
                                QStringLiteral("FILE")};
    QCommandLineOption resave{kResave, QStringLiteral("Load FILE and save it again to OUT."),
                              QStringLiteral("OUT")};
    QCommandLineOption exportXls{kExportXls,
                                 QStringLiteral("Load FILE and export its trips to the "
                                                "spreadsheet OUT (.xls)."),
                                 QStringLiteral("OUT")};
};

// Loads the logbook with the odometer pass; a file that cannot be opened is an error here.
void load(LogbookDocument &document, const QString &path)
{
    QString whyNot;
    if (!document.OpenFileWithName(path, &whyNot))
        throw Error(whyNot);
}

void save(LogbookDocument &document, const QString &path)
{
    document.setFileName(path);
    QString whyNot;
    if (!document.SaveTheFile(&whyNot))
        throw Error(whyNot);
}

int fail(QTextStream &err, const QString &message)
{
    err << displayMessage(message) << '\n';
    err.flush();
    return 1;
}

// Prints a text of the command line itself (help, version) on out.
int print(QIODevice &out, QTextStream &err, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (out.write(bytes) != bytes.size()) {
        const int errorNumber = errno;
        return fail(err, ioErrorMessage(errorNumber != 0 ? errorNumber : ENOSPC));
    }
    return 0;
}

} // namespace

bool isBatchInvocation(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        for (const QString &option : {kDumpJson, kResave, kExportXls, QStringLiteral("help")}) {
            if (argument == QLatin1String("--") + option ||
                argument.startsWith(QLatin1String("--") + option + QLatin1Char('=')))
                return true;
        }
        if (argument == QLatin1String("-h"))
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
    const BatchOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Fahrtenbuch: a vehicle trip logbook. Without options it opens the "
                       "window, with a logbook FILE.fbu if one is named."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOption(options.dumpJson);
    parser.addOption(options.resave);
    parser.addOption(options.exportXls);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The logbook file (.fbu) to read."));
    if (!parser.parse(arguments))
        return fail(err, parser.errorText());
    if (parser.isSet(help))
        return print(out, err, parser.helpText());

    const QStringList positional = parser.positionalArguments();
    try {
        const int commands = int(parser.isSet(options.dumpJson)) +
                             int(parser.isSet(options.resave)) +
                             int(parser.isSet(options.exportXls));
        if (commands > 1)
            return fail(err, QStringLiteral("Give one of --dump-json, --resave, --export-xls"));
        if (parser.isSet(options.dumpJson)) {
            if (!positional.isEmpty())
                return fail(err, QStringLiteral("--dump-json takes exactly one FILE"));
            load(document, parser.value(options.dumpJson));
            writeLogbookJson(document.logbook(), out);
            return 0;
        }
        if (parser.isSet(options.resave)) {
            if (positional.size() != 1)
                return fail(err, QStringLiteral("--resave takes OUT and exactly one FILE"));
            load(document, positional.first());
            save(document, parser.value(options.resave));
            return 0;
        }
        if (parser.isSet(options.exportXls)) {
            if (positional.size() != 1)
                return fail(err, QStringLiteral("--export-xls takes OUT and exactly one FILE"));
            load(document, positional.first());
            exportTripsToXls(document.logbook().trips, parser.value(options.exportXls));
            return 0;
        }
        return fail(err, QStringLiteral("Nothing to do; see --help"));
    } catch (const Error &error) {
        return fail(err, error.message());
    } catch (const std::bad_alloc &) {
        return fail(err, QStringLiteral("Out of memory"));
    }
}

} // namespace fb
