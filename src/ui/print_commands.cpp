// The main window's print commands: the print options, printing, the print preview and the
// printer set-up, all on the one printer held for the run.
#include "main_form.h"

#include "drucken_form.h"
#include "prompts.h"

#include "core/error.h"
#include "model/logbook_document.h"
#include "print/logbook_printer.h"
#include "print/pdf_output.h"
#include "print/printer_canvas.h"

#include <QDialogButtonBox>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
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

// While the preview lays out its pages, the printer paints into the preview's pictures.
bool paintsPreview(QPrinter &printer)
{
    const QPaintEngine *engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

} // namespace

QPrinter &TMainForm::printer()
{
    // Made on first use: looking for the system's printers takes a moment.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TMainForm::setPrinter(std::unique_ptr<QPrinter> printer)
{
    m_printer = std::move(printer);
}

bool TMainForm::showPrintOptions()
{
    const Logbook &logbook = m_document->logbook();
    const SetPrintOptions before{logbook.print, logbook.headingFont, logbook.textFont};
    m_druckenForm->showSettings();
    const int result = m_prompts.showModal(*m_druckenForm);
    // Cancelling keeps what was set in the dialog; it only prints nothing.
    m_druckenForm->keepSettings();
    applyPrintOptions(before);
    return result == QDialog::Accepted;
}

void TMainForm::applyPrintOptions(const SetPrintOptions &before)
{
    // The dialog and its font buttons wrote into the logbook; the options reach it as one
    // operation, from the state before, like every other change.
    Logbook &logbook = m_document->logbook();
    const SetPrintOptions chosen{logbook.print, logbook.headingFont, logbook.textFont};
    if (chosen == before)
        return;
    logbook.print = before.print;
    logbook.headingFont = before.headingFont;
    logbook.textFont = before.textFont;
    m_document->apply(chosen);
}

void TMainForm::Drucke1Click()
{
    if (!showPrintOptions())
        return;
    // The settings are part of the logbook, and the user confirmed them.
    SetChanged();
    printLogbookOn(printer(), *m_document);
}

void TMainForm::Druckvorschau1Click()
{
    if (!showPrintOptions())
        return;
    QPrintPreviewDialog preview(&printer(), this);
    preview.setObjectName(QStringLiteral("Druckvorschau"));
    preview.setWindowTitle(QStringLiteral("Druckvorschau"));
    // Large enough to read a page, centred on the screen.
    if (const QScreen *shownOn = screen()) {
        QRect frame(QPoint(), shownOn->availableGeometry().size() * 0.85);
        frame.moveCenter(shownOn->availableGeometry().center());
        preview.setGeometry(frame);
    }
    // An error must not leave through the dialog's event loop: it is kept and shown after.
    QString failure;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *target) {
        try {
            if (paintsPreview(*target)) {
                PrinterCanvas canvas(*target);
                printLogbook(m_document->logbook(), canvas);
            } else {
                printLogbookOn(*target, *m_document);
            }
        } catch (const Error &error) {
            failure = error.message();
        }
    });
    // The pages are laid out before the dialog appears, so a text that does not convert is
    // reported instead of an empty preview.
    if (auto *pages = preview.findChild<QPrintPreviewWidget *>())
        pages->updatePreview();
    if (!failure.isEmpty())
        throw Error(failure);
    if (m_prompts.showModal(preview) == QDialog::Accepted)
        SetChanged(); // printed from the preview
    if (!failure.isEmpty())
        throw Error(failure);
}

void TMainForm::Druckereinrichten1Click()
{
    QPrintDialog setup(&printer(), this);
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
