#include "batch_command.h"
#include "batch_memory.h"

#include "core/error.h"
#include "model/logbook_document.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

[[noreturn]] void runBatch(int argc, char **argv)
{
    fb::tuneAllocatorForBatchRun();
    // Printing needs fonts, so a GUI application; it never shows a window, so it needs no
    // display either.
    std::unique_ptr<QCoreApplication> app;
    if (fb::batchNeedsGui(argumentsOf(argc, argv))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    fb::LogbookDocument document(fb::PrintFont::kStandardPixelsPerInch);
    int exitCode = 0;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        exitCode = fb::runBatch(QCoreApplication::arguments(), out, err, document);
    }
    // Every file of the run is complete and closed here. Handing a large logbook's hundreds
    // of thousands of texts back to the allocator one by one would cost the run a tenth of
    // its time; the system takes the whole address space back at once.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

int runWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fahrtenbuch"));
    const QString baseCaption = QStringLiteral("Tervona Fahrtenbuch 1.0");
    const int pixelsPerInch = qRound(app.primaryScreen()->logicalDotsPerInchY());
    fb::LogbookDocument document(pixelsPerInch);
    QMainWindow window;
    const auto updateCaption = [&] {
        window.setWindowTitle(document.caption(baseCaption));
    };
    QObject::connect(&document, &fb::LogbookDocument::captionChanged, &window, updateCaption);
    updateCaption();
    window.resize(780, 582);

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        try {
            document.OpenFileWithName(arguments.at(1));
        } catch (const fb::Error &error) {
            QMessageBox::critical(nullptr, QApplication::applicationName(),
                                  fb::displayMessage(error.message()));
        }
    }
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (fb::isBatchInvocation(argumentsOf(argc, argv)))
        runBatch(argc, argv);
    return runWindow(argc, argv);
}
