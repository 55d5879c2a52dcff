#include "pdf_output.h"

#include "core/checked_write_device.h"
#include "core/file_error.h"
#include "core/replacing_file.h"
#include "core/write_target.h"
#include "logbook_printer.h"
#include "page_layout_thread.h"
#include "pdfa_metadata.h"
#include "printer_canvas.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>

#include <cerrno>

#include <unistd.h>

namespace fb {
namespace {

constexpr int kPdfResolution = 600;

// A PDF whose writer got through ends with its cross-reference offset and "%%EOF" on a line
// of its own, and that offset points at the cross-reference table. What the writer wrote is
// checked as well, but a writer that stopped early would leave one or the other missing.
bool isCompletePdf(int handle)
{
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return false;
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

// The document information dictionary and the metadata packet stand at the beginning of the
// file, within these many bytes.
constexpr qsizetype kHeadBytes = 16 * 1024;

// Makes the metadata packet's dates the engine's, in place; 0 or the error number.
int alignXmpDates(int handle)
{
    QByteArray head(kHeadBytes, Qt::Uninitialized);
    const ssize_t read = ::pread(handle, head.data(), size_t(head.size()), 0);
    if (read < 0)
        return errno;
    head.truncate(read);
    for (const ByteReplacement &change : xmpDateCorrections(head)) {
        const ssize_t written = ::pwrite(handle, change.bytes.constData(),
                                         size_t(change.bytes.size()), off_t(change.offset));
        if (written < 0)
            return errno;
        if (written != change.bytes.size())
            return ENOSPC;
    }
    return 0;
}

// A writer of the file's paper and resolution that writes nowhere: the layout measures and
// shapes the texts on it in a thread of its own, and the file is drawn from the glyphs.
struct MeasuringWriter {
    explicit MeasuringWriter(const PdfPages &pages) : writer(&nowhere)
    {
        writer.setResolution(pages.resolution);
        writer.setPageLayout(pages.layout);
    }

    QBuffer nowhere;
    QPdfWriter writer;
    PrinterCanvas canvas{writer};
};

// Draws the pages of the layout into the canvas's file as they are completed.
void drawLaidOutPages(PageLayoutThread &layout, PrinterCanvas &canvas)
{
    // A text that does not convert ends the layout before its first page, and nothing is begun.
    layout.waitForFirstPage();
    canvas.beginJob();
    RecordedPages &pages = layout.pages();
    for (int page = 0; pages.waitForPage(page); ++page) {
        if (page > 0)
            canvas.newPage();
        pages.paintPageOnce(page, canvas);
    }
    layout.finish();
    canvas.endJob();
}

} // namespace

PdfPages a4Pages()
{
    // Qt's printers keep 10 points from every edge of the paper.
    return PdfPages{QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(10, 10, 10, 10), QPageLayout::Point),
                    kPdfResolution};
}

PdfPages pagesOf(const QPrinter &printer)
{
    return PdfPages{printer.pageLayout(), printer.resolution()};
}

void printLogbookToPdf(const Logbook &logbook, const QString &fileName,
                       const QString &logbookFileName, const PdfPages &pages)
{
    if (!logbookFileName.isEmpty() && isSameFile(fileName, logbookFileName))
        throw Error(QStringLiteral("Der Ausdruck würde das Fahrtenbuch selbst überschreiben. "
                                   "Bitte eine andere Datei wählen."));
    if (const int refusal = writeTargetRefusal(fileName))
        throw FileError(refusal);

    ReplacingFile file(fileName);
    file.create();
    CheckedWriteDevice out(file.handle());
    try {
        QPdfWriter writer(&out);
        // An archive's format: every font embedded, no transparency, the metadata as XMP.
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setCreator(QStringLiteral("Fahrtenbuch"));
        writer.setTitle(QStringLiteral("Fahrtenbuch ") + logbook.master.registrationNumber);
        writer.setResolution(pages.resolution);
        writer.setPageLayout(pages.layout);
        PrinterCanvas canvas(writer, keeperName(logbook.master));
        MeasuringWriter measuring(pages);
        PageLayoutThread layout(logbook, measuring.canvas);
        drawLaidOutPages(layout, canvas);
    } catch (const ConversionError &) {
        throw;
    } catch (const Error &) {
        // A job that failed because its file could not be written says why.
        if (out.errorNumber() != 0)
            throw FileError(out.errorNumber());
        throw;
    }
    if (const int error = out.finish())
        throw FileError(error);
    if (const int error = alignXmpDates(file.handle()))
        throw FileError(error);
    if (!isCompletePdf(file.handle()))
        throw FileError(ENOSPC);
    file.commit();
}

} // namespace fb
