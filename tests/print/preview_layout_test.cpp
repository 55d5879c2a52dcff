#include "print/logbook_printer.h"
#include "print/pdf_output.h"
#include "print/printer_canvas.h"
#include "print/recorded_pages.h"

#include "recording_canvas.h"
#include "sample_logbook.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>

#include <gtest/gtest.h>

namespace fb {
namespace {

using test::RecordingCanvas;

// The texts of each page, laid out against the metrics of layoutCanvas.
QList<QStringList> pageTexts(const Logbook &logbook, PageCanvas &layoutCanvas)
{
    RecordedPages pages(layoutCanvas);
    printLogbook(logbook, pages);
    QList<QStringList> texts;
    for (int page = 0; page < pages.pageCount(); ++page) {
        RecordingCanvas painted;
        painted.beginJob();
        pages.paintPage(page, painted);
        texts.append(painted.textsOnPage(1));
    }
    return texts;
}

// The preview lays the pages out on the window's printer; set up with the paper and resolution
// of the command line's PDF file, it shows that file's pages, every wrapped line alike.
TEST(PreviewLayout, PrinterSetUpLikeThePdfFileHasItsPages)
{
    Logbook logbook;
    // Readings of seven digits leave "Geschäftlich" just its width, or a little less.
    logbook.master.startKm = 1'830'000;
    for (int i = 0; i < 400; ++i)
        logbook.trips.append(
            test::trip(QStringLiteral("01.12.2026 08:00:00"), QStringLiteral("Mönchengladbach Hbf"),
                       QStringLiteral("01.12.2026 09:00:00"), QStringLiteral("Bonn"),
                       QString::number(10 + i % 90), QStringLiteral("Kundentermin Nr. %1").arg(i),
                       i % 2 ? QStringLiteral("Privat") : QStringLiteral("Geschäftlich")));
    const PdfPages paper = a4Pages();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(paper.layout);
    printer.setResolution(paper.resolution);
    PrinterCanvas onPrinter(printer);

    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QPdfWriter writer(&file);
    writer.setPageLayout(paper.layout);
    writer.setResolution(paper.resolution);
    PrinterCanvas onWriter(writer);

    const QList<QStringList> previewed = pageTexts(logbook, onPrinter);
    EXPECT_GT(previewed.size(), 5);
    EXPECT_EQ(previewed, pageTexts(logbook, onWriter));
}

} // namespace
} // namespace fb
