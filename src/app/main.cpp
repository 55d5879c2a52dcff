#include "batch_command.h"
#include "batch_memory.h"

#include "model/logbook_document.h"
#include "ui/main_window_run.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

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
    const QCoreApplication app(argc, argv);
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

} // namespace

int main(int argc, char **argv)
{
    if (fb::isBatchInvocation(argumentsOf(argc, argv)))
        runBatch(argc, argv);
    return fb::runMainWindow(argc, argv);
}
