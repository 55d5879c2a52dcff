#include "batch_command.h"

#include "model/error.h"
#include "model/logbook_document.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int runBatch(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return fb::runBatch(QCoreApplication::arguments(), out, err);
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
        return runBatch(argc, argv);
    return runWindow(argc, argv);
}
