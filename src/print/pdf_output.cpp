#include "pdf_output.h"

#include "core/write_target.h"
#include "logbook_printer.h"
#include "model/file_error.h"
#include "printer_canvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace fb {
namespace {

constexpr int kPdfResolution = 600;

[[noreturn]] void throwIoError(int errorNumber, int fallback)
{
    throw FileError(errorNumber != 0 ? errorNumber : fallback);
}

// A PDF whose writer got through ends with its cross-reference offset and "%%EOF" on a line
// of its own, and that offset points at the cross-reference table. The writer does not
// report failed writes (a full disk); they leave the file short, and one or the other
// missing.
bool isCompletePdf(QFile &file)
{
    const qint64 size = file.size();
    const qint64 tailSize = qMin<qint64>(size, 64);
    if (!file.seek(size - tailSize))
        return false;
    const QByteArray tail = file.read(tailSize);
    if (!tail.endsWith("%%EOF\n") && !tail.endsWith("%%EOF\r\n"))
        return false;
    const qsizetype startXref = tail.lastIndexOf("startxref");
    if (startXref < 0)
        return false;
    bool ok = false;
    const qint64 xrefOffset =
        tail.mid(startXref + 9).replace("%%EOF", "").trimmed().toLongLong(&ok);
    if (!ok || xrefOffset < 0 || xrefOffset >= size || !file.seek(xrefOffset))
        return false;
    return file.read(4) == "xref";
}

// What a new file gets from the system: read and write for all, less the process's mask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void printLogbookToPdf(const Logbook &logbook, const QString &fileName)
{
    if (const int refusal = writeTargetRefusal(fileName))
        throwIoError(refusal, EACCES);
    const QFileInfo target(fileName);
    const QByteArray targetPath = QFile::encodeName(target.absoluteFilePath());

    QTemporaryFile temporary(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.pdf").arg(target.fileName())));
    errno = 0;
    if (!temporary.open())
        throwIoError(errno, EACCES);

    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary.fileName());
        printer.setResolution(kPdfResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setCreator(QStringLiteral("Fahrtenbuch"));
        PrinterCanvas canvas(printer);
        printLogbook(logbook, canvas);
    }

    if (!isCompletePdf(temporary))
        throwIoError(ENOSPC, ENOSPC);
    // The replaced file keeps its permissions; a new one gets the usual ones.
    struct stat status {};
    const mode_t mode =
        ::stat(targetPath.constData(), &status) == 0 ? status.st_mode & 07777 : newFileMode();
    if (::fchmod(temporary.handle(), mode) != 0 || ::fsync(temporary.handle()) != 0)
        throwIoError(errno, EIO);
    if (::rename(QFile::encodeName(temporary.fileName()).constData(), targetPath.constData()) != 0)
        throwIoError(errno, EACCES);
    temporary.setAutoRemove(false);
}

} // namespace fb
