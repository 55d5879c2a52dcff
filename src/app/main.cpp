#include "batch_command.h"
#include "batch_memory.h"

#include "core/replacing_file.h"
#include "storage/early_logbook_read.h"
#include "storage/logbook_document.h"
#include "ui/window/main_window_run.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QThread>

#include <csignal>
#include <memory>

#include <unistd.h>

namespace {

QtMessageHandler g_previousMessageHandler = nullptr;

// Starting a GUI application, Qt looks for a sandbox's mark in the session's runtime folder and,
// where the environment names none (a cron job, a build, a login without a session), warns that
// it falls back on one of its own. A batch run never uses that folder: this one message is left
// out, every other goes on as before.
void leaveOutMissingRuntimeFolder(QtMsgType type, const QMessageLogContext &context,
                                  const QString &message)
{
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    g_previousMessageHandler(type, context, message);
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The document of a batch run. It is never destroyed: handing a large logbook's hundreds of
// thousands of texts back to the allocator one by one would cost the run a tenth of its
// time, and the system takes the whole address space back at once. The static pointer keeps
// it reachable, so leak checkers do not count it.
fb::LogbookDocument &batchDocument()
{
    static fb::LogbookDocument *const document = [] {
        auto *const batch = new fb::LogbookDocument(fb::PrintFont::kStandardPixelsPerInch);
        // A batch run reads a file and writes what it holds: its texts need no copies.
        batch->keepTextsInFileBytes();
        return batch;
    }();
    return *document;
}

int runBatch(int argc, char **argv)
{
    fb::tuneAllocatorForLargeLogbook();
    // Printing needs fonts, so a GUI application; it never shows a window, so it needs no
    // display either.
    std::unique_ptr<QCoreApplication> app;
    if (fb::batchNeedsGui(argumentsOf(argc, argv))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        g_previousMessageHandler = qInstallMessageHandler(leaveOutMissingRuntimeFolder);
        app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(g_previousMessageHandler);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Unbuffered: every write reaches the system at once, so a failed one is reported.
    QFile out;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
             QFileDevice::DontCloseHandle);
    QTextStream err(stderr);
    return fb::runBatch(QCoreApplication::arguments(), out, err, batchDocument());
}

// The window's start takes as long as reading a large logbook: the file named first is read
// while the application and the window are made, and the window takes it over when it opens
// that file, with its lock and every question as ever.
std::unique_ptr<fb::EarlyLogbookRead> startReadingStartFile(int argc, char **argv)
{
    if (argc < 2)
        return nullptr;
    // Qt takes the first thread that makes an object of its own for the main thread: this one,
    // before the reading thread makes its file.
    QThread::currentThread();
    // A large logbook's texts are a million blocks, and the pages they need, each a fault on
    // a virtual machine, cost more than decoding them: as in a batch run, the heap takes large
    // pages in large steps.
    fb::tuneAllocatorForLargeLogbook();
    return std::make_unique<fb::EarlyLogbookRead>(QString::fromLocal8Bit(argv[1]));
}

} // namespace

int main(int argc, char **argv)
{
    // Once, before anything else: the application's folders (the recovery journals' among
    // them) and the title of the general error display follow from these names.
    QCoreApplication::setOrganizationName(QStringLiteral("Tervona"));
    QCoreApplication::setApplicationName(QStringLiteral("Fahrtenbuch"));
    // A write past the file-size limit fails with EFBIG and is reported like a full disk,
    // instead of killing the program with the file half written.
    std::signal(SIGXFSZ, SIG_IGN);
    // Killed while it writes, the program leaves no temporary file behind.
    fb::removeTemporaryFilesOnTerminatingSignals();
    if (fb::isBatchInvocation(argumentsOf(argc, argv)))
        return runBatch(argc, argv);
    return fb::runMainWindow(argc, argv, startReadingStartFile(argc, argv));
}
