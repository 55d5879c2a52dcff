#include "page_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace fb {
namespace {

// Between the pages and around them.
constexpr int kGap = 12;
// The pages kept painted, in kilobytes: a few pages at a screen's width.
constexpr int kKeptKilobytes = 96 * 1024;
// Screen pixels per point of paper.
constexpr double kSmallestScale = 0.1;
constexpr double kLargestScale = 5.0;

} // namespace

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent), m_images(kKeptKilobytes)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void PageView::setPages(int count, QSizeF paper, PagePainter paint)
{
    m_count = count;
    m_paper = paper;
    m_paint = std::move(paint);
    m_images.clear();
    m_current = 0;
    updateLayout();
    verticalScrollBar()->setValue(0);
    Q_EMIT currentPageChanged(0);
}

void PageView::setPageCount(int count)
{
    m_count = count;
    updateLayout();
}

void PageView::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    const int page = m_current;
    updateLayout();
    showPage(page);
}

void PageView::zoomBy(double factor)
{
    m_zoom = Zoom::Fixed;
    m_scale = std::clamp(m_scale * factor, kSmallestScale, kLargestScale);
    const int page = m_current;
    updateLayout();
    showPage(page);
}

void PageView::showPage(int page)
{
    if (m_count == 0)
        return;
    page = std::clamp(page, 0, m_count - 1);
    m_goingToPage = true;
    verticalScrollBar()->setValue(pageRect(page).top() - kGap);
    m_goingToPage = false;
    setCurrent(page);
}

QSize PageView::pageSize() const
{
    // Truncated: a page at the view's width must not make it scroll across.
    return QSize(std::max(1, int(m_paper.width() * m_scale)),
                 std::max(1, int(m_paper.height() * m_scale)));
}

int PageView::pitch() const
{
    return pageSize().height() + kGap;
}

// In the coordinates of the whole column of pages.
QRect PageView::pageRect(int page) const
{
    const QSize size = pageSize();
    const int left = std::max(kGap, (viewport()->width() - size.width()) / 2);
    return QRect(QPoint(left, kGap + page * pitch()), size);
}

void PageView::updateLayout()
{
    if (m_paper.isEmpty())
        return;
    const QSize room = viewport()->size() - QSize(2 * kGap, 2 * kGap);
    const double widthScale = room.width() / m_paper.width();
    if (m_zoom == Zoom::PageWidth)
        m_scale = widthScale;
    else if (m_zoom == Zoom::WholePage)
        m_scale = std::min(widthScale, room.height() / m_paper.height());
    m_scale = std::clamp(m_scale, kSmallestScale, kLargestScale);
    // Painted pages of another size are of no use any more; at least three pages of this one
    // are kept, however large.
    const QSize page = pageSize();
    if (page != m_keptSize) {
        m_images.clear();
        m_keptSize = page;
        const qreal ratio = devicePixelRatioF();
        const auto pageKilobytes =
            qsizetype(page.width() * ratio * page.height() * ratio * 4 / 1024);
        m_images.setMaxCost(std::max<qsizetype>(kKeptKilobytes, 3 * pageKilobytes));
    }
    QScrollBar &vertical = *verticalScrollBar();
    vertical.setRange(0, std::max(0, m_count * pitch() + kGap - viewport()->height()));
    vertical.setPageStep(viewport()->height());
    vertical.setSingleStep(std::max(1, fontMetrics().height() * 3));
    QScrollBar &horizontal = *horizontalScrollBar();
    horizontal.setRange(0, std::max(0, page.width() + 2 * kGap - viewport()->width()));
    horizontal.setPageStep(viewport()->width());
    horizontal.setSingleStep(std::max(1, fontMetrics().height() * 3));
    viewport()->update();
}

const QImage &PageView::pageImage(int page)
{
    if (const QImage *kept = m_images.object(page))
        return *kept;
    const qreal ratio = devicePixelRatioF();
    const QSize size = pageSize();
    auto image = std::make_unique<QImage>(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image->setDevicePixelRatio(ratio);
    image->fill(Qt::white);
    if (m_paint)
        m_paint(page, *image);
    const QImage &kept = *image;
    // The cache deletes at once what costs more than it holds, and the size it was given
    // comes from the pixel ratio of then: a screen of another ratio makes larger pages.
    const qsizetype cost = std::max<qsizetype>(1, kept.sizeInBytes() / 1024);
    if (3 * cost > m_images.maxCost())
        m_images.setMaxCost(3 * cost);
    m_images.insert(page, image.release(), cost);
    return kept;
}

void PageView::paintEvent(QPaintEvent *)
{
    if (m_count == 0)
        return;
    QPainter painter(viewport());
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int top = scrolled.y();
    const int bottom = top + viewport()->height();
    const int first = std::clamp((top - kGap) / pitch(), 0, m_count - 1);
    for (int page = first; page < m_count; ++page) {
        const QRect placed = pageRect(page);
        if (placed.top() >= bottom)
            break;
        const QRect shown = placed.translated(-scrolled);
        painter.drawImage(shown.topLeft(), pageImage(page));
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(shown.adjusted(-1, -1, 0, 0));
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int page = m_current;
    updateLayout();
    if (m_zoom != Zoom::Fixed)
        showPage(page);
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (m_goingToPage || m_count == 0)
        return;
    // The page across the middle of the view, or the last one once the view reaches the end.
    const QScrollBar &vertical = *verticalScrollBar();
    const int middle = vertical.value() + viewport()->height() / 2;
    setCurrent(vertical.value() == vertical.maximum() && vertical.maximum() > 0
                   ? m_count - 1
                   : std::clamp((middle - kGap / 2) / pitch(), 0, m_count - 1));
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        showPage(m_current - 1);
        break;
    case Qt::Key_PageDown:
        showPage(m_current + 1);
        break;
    case Qt::Key_Home:
        showPage(0);
        break;
    case Qt::Key_End:
        showPage(m_count - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void PageView::setCurrent(int page)
{
    if (page == m_current)
        return;
    m_current = page;
    Q_EMIT currentPageChanged(page);
}

} // namespace fb
