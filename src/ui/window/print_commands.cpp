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

} // namespace

LogbookPrintCommands::LogbookPrintCommands(Prompts &prompts, LogbookDocument &document)
    : m_prompts(prompts), m_document(document)
{}

LogbookPrintCommands::~LogbookPrintCommands() = default;

QPrinter &LogbookPrintCommands::printer()
{
    // Made on first use: looking for the system's printers takes a moment.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
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
    // The pages are laid out before the dialog appears, so a text that does not convert is
    // reported instead of an empty preview; each page is painted only when it is shown.
    PrinterCanvas layoutCanvas(target);
    RecordedPages pages(layoutCanvas);
    printLogbook(m_document.logbook(), pages);
    // An error must not leave through the dialog's event loop: it is kept and thrown after.
    QString failure;
    PrintPreviewDialog preview(
        pages, target,
        [&] {
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
