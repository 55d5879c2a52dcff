#include "print_preview_dialog.h"

#include "page_view.h"
#include "ui/fields/named_widget.h"

#include "print/printer_canvas.h"
#include "print/recorded_pages.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace fb {
namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kZoomStep = 1.25;
constexpr int kNewPagesMilliseconds = 40;

// Paints a page on an image of the whole paper as the printer paints it: with the printer's
// resolution for the fonts, scaled down to the image, the printable area where the printer
// has it.
void paintPage(const RecordedPages &pages, QPrinter &printer, int page, QImage &image)
{
    image.setDotsPerMeterX(qRound(printer.logicalDpiX() / kMetresPerInch));
    image.setDotsPerMeterY(qRound(printer.logicalDpiY() / kMetresPerInch));
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QSizeF shown = image.deviceIndependentSize();
    painter.scale(shown.width() / paper.width(), shown.height() / paper.height());
    painter.translate(printable.topLeft() - paper.topLeft());
    PrinterCanvas canvas(painter, printer);
    pages.paintPage(page, canvas);
}

} // namespace

PrintPreviewDialog::PrintPreviewDialog(const RecordedPages &pages, QPrinter &printer,
                                       std::function<void()> print, QWidget *parent)
    : QDialog(parent), m_pages(pages), m_print(std::move(print)), m_newPages(new QTimer(this)),
      m_view(named(new PageView(this), "Seiten")), m_position(named(new QLabel(this), "SeiteLabel"))
{
    setObjectName(QStringLiteral("Druckvorschau"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    m_view->setAccessibleName(QStringLiteral("Seiten"));
    m_position->setAccessibleName(QStringLiteral("Seite"));
    m_position->setContentsMargins(8, 0, 8, 0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    addToolBar();
    layout->addWidget(m_view, 1);

    connect(m_view, &PageView::currentPageChanged, this, &PrintPreviewDialog::showPosition);
    m_view->setPages(
        pages.pageCount(), printer.paperRect(QPrinter::Point).size(),
        [&pages, &printer](int page, QImage &image) { paintPage(pages, printer, page, image); });
    showPosition();
    m_view->setFocus();
    // Often enough that scrolling on never waits long for the next page.
    m_newPages->setInterval(kNewPagesMilliseconds);
    connect(m_newPages, &QTimer::timeout, this, &PrintPreviewDialog::takeNewPages);
    if (!hasAllPages())
        m_newPages->start();
}

bool PrintPreviewDialog::hasAllPages() const
{
    return m_pages.isComplete() && m_view->pageCount() == m_pages.pageCount();
}

void PrintPreviewDialog::takeNewPages()
{
    // Complete first: a page completed after the count was taken comes with the next round.
    const bool complete = m_pages.isComplete();
    m_view->setPageCount(m_pages.pageCount());
    if (complete)
        m_newPages->stop();
    showPosition();
}

void PrintPreviewDialog::addToolBar()
{
    auto *tools = named(new QToolBar(this), "Werkzeuge");
    tools->setAccessibleName(QStringLiteral("Druckvorschau"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout()->addWidget(tools);
    const auto add = [&](const char *name, const QString &text, QKeySequence keys, auto slot) {
        QAction *action = named(tools->addAction(text), name);
        action->setShortcut(keys);
        action->setToolTip(keys.isEmpty()
                               ? text
                               : text + QStringLiteral(" (") +
                                     keys.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("DruckenBtn", QStringLiteral("Drucken"), QKeySequence::Print, [this] {
        m_print();
        accept();
    });
    tools->addSeparator();
    add("ErsteSeiteBtn", QStringLiteral("Erste Seite"), {}, [this] { m_view->showPage(0); });
    add("VorigeSeiteBtn", QStringLiteral("Vorige Seite"), {},
        [this] { m_view->showPage(m_view->currentPage() - 1); });
    tools->addWidget(m_position);
    add("NaechsteSeiteBtn", QStringLiteral("Nächste Seite"), {},
        [this] { m_view->showPage(m_view->currentPage() + 1); });
    add("LetzteSeiteBtn", QStringLiteral("Letzte Seite"), {},
        [this] { m_view->showPage(m_view->pageCount() - 1); });
    tools->addSeparator();
    auto *fits = new QActionGroup(this);
    for (QAction *fit : {add("SeitenbreiteBtn", QStringLiteral("Seitenbreite"), {},
                             [this] { m_view->setZoom(PageView::Zoom::PageWidth); }),
                         add("GanzeSeiteBtn", QStringLiteral("Ganze Seite"), {},
                             [this] { m_view->setZoom(PageView::Zoom::WholePage); })}) {
        fit->setCheckable(true);
        fits->addAction(fit);
    }
    fits->actions().first()->setChecked(true);
    // A zoom of its own is neither of the two.
    const auto zoomBy = [this, fits](double factor) {
        if (QAction *checked = fits->checkedAction())
            checked->setChecked(false);
        m_view->zoomBy(factor);
    };
    fits->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    add("VergroessernBtn", QStringLiteral("Vergrößern"), QKeySequence::ZoomIn,
        [zoomBy] { zoomBy(kZoomStep); });
    add("VerkleinernBtn", QStringLiteral("Verkleinern"), QKeySequence::ZoomOut,
        [zoomBy] { zoomBy(1 / kZoomStep); });
    tools->addSeparator();
    add("SchliessenBtn", QStringLiteral("Schließen"), {}, [this] { reject(); });
}

void PrintPreviewDialog::showPosition()
{
    const QString page = QString::number(m_view->pageCount() == 0 ? 0 : m_view->currentPage() + 1);
    m_position->setText(hasAllPages()
                            ? QStringLiteral("Seite %1 von %2").arg(page).arg(m_view->pageCount())
                            : QStringLiteral("Seite %1").arg(page));
}

} // namespace fb
