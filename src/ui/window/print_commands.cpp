#include "print_commands.h"

#include "prompts.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/print_preview_dialog.h"

#include "core/error.h"
#include "print/logbook_printer.h"
#include "print/pdf_output.h"
#include "print/printer_canvas.h"
#include "print/recorded_pages.h"
#include "storage/logbook_document.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include <thread>

namespace fb {
namespace {

// A print into a file goes the command line's way: through a temporary file that replaces
// the target only once it is complete, and never onto the logbook itself. Anything else goes
// to the printer.
void printLogbookOn(QPrinter &printer, const LogbookDocument &document)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        printLogbookToPdf(document.logbook(), printer.outputFileName(), document.fileName(),
                          pagesOf(printer));
        return;
    }
    PrinterCanvas canvas(printer);
    printLogbook(document.logbook(), canvas);
}

// Lays the logbook's pages out in a thread of its own, while the preview shows the first ones;
// measuring every text takes a large logbook a while. Stops and waits for the thread when it
// goes, so the logbook is not read beyond the preview.
class BackgroundLayout {
public:
    BackgroundLayout(const Logbook &logbook, PrinterCanvas &canvas, RecordedPages &pages)
        : m_canvas(canvas), m_pages(pages), m_thread([this, &logbook] { layOut(logbook); })
    {}
    ~BackgroundLayout() { stop(); }
    BackgroundLayout(const BackgroundLayout &) = delete;
    BackgroundLayout &operator=(const BackgroundLayout &) = delete;

    // Waits for the first page; throws the job's error when it ended without one.
    void waitForFirstPage()
    {
        if (!m_pages.waitForFirstPage()) {
            m_thread.join();
            throw Error(m_failure);
        }
    }

    // Ends the layout at its next page and waits for the thread: the printer is then the
    // caller's alone.
    void stop()
    {
        m_pages.stop();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void layOut(const Logbook &logbook)
    {
        try {
            printLogbook(logbook, m_pages);
        } catch (const RecordedPages::Stopped &) {
        } catch (const Error &error) {
            m_failure = error.message();
            m_pages.abortJob();
        } catch (const std::exception &error) {
            m_failure = QString::fromLocal8Bit(error.what());
            m_pages.abortJob();
        }
        // Fonts belong to the thread that made them.
        m_canvas.forgetFonts();
    }

    PrinterCanvas &m_canvas;
    RecordedPages &m_pages;
    // Set by the thread before it gives up.
    QString m_failure;
    std::thread m_thread;
};

} // namespace

LogbookPrintCommands::LogbookPrintCommands(Prompts &prompts, LogbookDocument &document)
    : m_prompts(prompts), m_document(document)
{}

LogbookPrintCommands::~LogbookPrintCommands() = default;

QPrinter &LogbookPrintCommands::printer()
{
    // Made on first use: looking for the system's printers takes a moment.
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a printer of the system's the window prints into PDF files. It takes the
        // command line's paper and resolution then: texts wrap a little differently at
        // another resolution, and the preview must show the pages the PDF file will hold.
        if (m_printer->outputFormat() == QPrinter::PdfFormat) {
            const PdfPages pdf = a4Pages();
            m_printer->setPageLayout(pdf.layout);
            m_printer->setResolution(pdf.resolution);
        }
    }
    return *m_printer;
}

void LogbookPrintCommands::setPrinter(std::unique_ptr<QPrinter> printer)
{
    m_printer = std::move(printer);
}

bool LogbookPrintCommands::chooseOptions(QWidget *parent)
{
    const Logbook &logbook = m_document.logbook();
    const SetPrintOptions before{logbook.print, logbook.headingFont, logbook.textFont};
    TDruckenForm options(m_prompts, before, parent);
    const int result = m_prompts.showModal(options);
    // Cancelling keeps what was set in the dialog; it only prints nothing.
    const SetPrintOptions chosen = options.chosenOptions();
    if (chosen != before)
        m_document.apply(chosen);
    return result == QDialog::Accepted;
}

void LogbookPrintCommands::print()
{
    printLogbookOn(printer(), m_document);
}

bool LogbookPrintCommands::preview(QWidget *parent)
{
    QPrinter &target = printer();
    PrinterCanvas layoutCanvas(target);
    RecordedPages pages(layoutCanvas);
    // The dialog appears with the first page, so a text that does not convert (found before
    // it) is reported instead of an empty preview; each page is painted only when it is shown.
    BackgroundLayout layout(m_document.logbook(), layoutCanvas, pages);
    layout.waitForFirstPage();
    // An error must not leave through the dialog's event loop: it is kept and thrown after.
    QString failure;
    PrintPreviewDialog preview(
        pages, target,
        [&] {
            // The layout measures on the same printer that the print begins a job on.
            layout.stop();
            try {
                printLogbookOn(target, m_document);
            } catch (const Error &error) {
                failure = error.message();
            }
        },
        parent);
    // Large enough to read a page, centred on the screen.
    if (const QScreen *shownOn = parent ? parent->screen() : nullptr) {
        QRect frame(QPoint(), shownOn->availableGeometry().size() * 0.85);
        frame.moveCenter(shownOn->availableGeometry().center());
        preview.setGeometry(frame);
    }
    const bool printed = m_prompts.showModal(preview) == QDialog::Accepted;
    if (!failure.isEmpty())
        throw Error(failure);
    return printed;
}

void LogbookPrintCommands::setUpPrinter(QWidget *parent)
{
    QPrintDialog setup(&printer(), parent);
    setup.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    setup.setWindowTitle(QStringLiteral("Drucker einrichten"));
    // Printer, paper and orientation; which pages and how many copies are the print's own.
    setup.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // It chooses and does not print: its button says so.
    if (auto *buttons = setup.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    m_prompts.showModal(setup);
}

} // namespace fb
