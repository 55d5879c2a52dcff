#include "print_commands.h"

#include "prompts.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/print_preview_dialog.h"

#include "core/error.h"
#include "print/logbook_printer.h"
#include "print/page_layout_thread.h"
#include "print/pdf_output.h"
#include "print/printer_canvas.h"
#include "storage/logbook_document.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

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

// The window shows what an Error says: anything else that ended the layout is told as one.
void waitForFirstPreviewPage(PageLayoutThread &layout)
{
    try {
        layout.waitForFirstPage();
    } catch (const Error &) {
        throw;
    } catch (const std::exception &error) {
        throw Error(QString::fromLocal8Bit(error.what()));
    }
}

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
    PageLayoutThread layout(m_document.logbook(), layoutCanvas);
    // The dialog appears with the first page, so a text that does not convert (found before
    // it) is reported instead of an empty preview; each page is painted only when it is shown.
    waitForFirstPreviewPage(layout);
    // An error must not leave through the dialog's event loop: it is kept and thrown after.
    QString failure;
    PrintPreviewDialog preview(
        layout.pages(), target,
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
