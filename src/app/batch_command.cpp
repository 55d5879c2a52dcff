#include "batch_command.h"

#include "core/error.h"
#include "model/evaluation.h"
#include "model/logbook_document.h"
#include "model/logbook_json.h"
#include "export/trip_export.h"
#include "export/export_target.h"
#include "print/pdf_output.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QJsonDocument>

#include <new>
#include <optional>

namespace fb {
namespace {

const QString kDumpJson = QStringLiteral("dump-json");
const QString kResave = QStringLiteral("resave");
const QString kExportXls = QStringLiteral("export-xls");
const QString kEvaluate = QStringLiteral("evaluate");
const QString kPrintPdf = QStringLiteral("print-pdf");

struct BatchOptions {
    QCommandLineOption dumpJson{kDumpJson, QStringLiteral("Print the logbook FILE as JSON."),
                                QStringLiteral("FILE")};
    QCommandLineOption resave{kResave, QStringLiteral("Load FILE and save it again to OUT."),
                              QStringLiteral("OUT")};
    QCommandLineOption exportXls{kExportXls,
                                 QStringLiteral("Load FILE and export its trips to the "
                                                "spreadsheet OUT (.xls)."),
                                 QStringLiteral("OUT")};
    QCommandLineOption evaluate{kEvaluate,
                                QStringLiteral("Print the evaluation of the logbook FILE."),
                                QStringLiteral("FILE")};
    QCommandLineOption printPdf{kPrintPdf,
                                QStringLiteral("Load FILE and print it with its print settings "
                                               "into the PDF file OUT (A4)."),
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

} // namespace

bool isBatchInvocation(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        for (const QString &option :
             {kDumpJson, kResave, kExportXls, kEvaluate, kPrintPdf, QStringLiteral("help")}) {
            if (argument == QLatin1String("--") + option ||
                argument.startsWith(QLatin1String("--") + option + QLatin1Char('=')))
                return true;
        }
        if (argument == QLatin1String("-h"))
            return true;
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

int runBatch(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    LogbookDocument document(PrintFont::kStandardPixelsPerInch);
    return runBatch(arguments, out, err, document);
}

int runBatch(const QStringList &arguments, QTextStream &out, QTextStream &err,
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
    parser.addOption(options.evaluate);
    parser.addOption(options.printPdf);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The logbook file (.fbu) to read."));
    if (!parser.parse(arguments))
        return fail(err, parser.errorText());
    if (parser.isSet(help)) {
        out << parser.helpText();
        out.flush();
        return 0;
    }

    const QStringList positional = parser.positionalArguments();
    try {
        const int commands =
            int(parser.isSet(options.dumpJson)) + int(parser.isSet(options.resave)) +
            int(parser.isSet(options.exportXls)) + int(parser.isSet(options.evaluate)) +
            int(parser.isSet(options.printPdf));
        if (commands > 1)
            return fail(err, QStringLiteral("Give one of --dump-json, --resave, --export-xls, "
                                            "--evaluate, --print-pdf"));
        if (parser.isSet(options.dumpJson)) {
            if (!positional.isEmpty())
                return fail(err, QStringLiteral("--dump-json takes exactly one FILE"));
            load(document, parser.value(options.dumpJson));
            out << QString::fromUtf8(
                QJsonDocument(logbookToJson(document.logbook())).toJson(QJsonDocument::Indented));
            out.flush();
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
            const QString target = parser.value(options.exportXls);
            refuseExportOntoLogbook(target, document.fileName());
            exportTripsToXls(document.logbook().trips, target);
            return 0;
        }
        if (parser.isSet(options.evaluate)) {
            if (!positional.isEmpty())
                return fail(err, QStringLiteral("--evaluate takes exactly one FILE"));
            load(document, parser.value(options.evaluate));
            for (const QString &line : evaluationLines(evaluateTrips(document.logbook().trips)))
                out << line << '\n';
            out.flush();
            return 0;
        }
        if (parser.isSet(options.printPdf)) {
            if (positional.size() != 1)
                return fail(err, QStringLiteral("--print-pdf takes OUT and exactly one FILE"));
            // Fonts and their metrics need the graphical side of Qt.
            if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
                return fail(err, QStringLiteral("--print-pdf needs a Qt GUI application"));
            load(document, positional.first());
            const QString target = parser.value(options.printPdf);
            try {
                refuseExportOntoLogbook(target, document.fileName());
            } catch (const Error &) {
                throw Error(QStringLiteral("Der Ausdruck würde das Fahrtenbuch selbst "
                                           "überschreiben. Bitte eine andere Datei wählen."));
            }
            // "Zeit ausdrucken" is not stored in the file: on, as at every program start.
            document.logbook().print.printTimes = true;
            printLogbookToPdf(document.logbook(), target);
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
