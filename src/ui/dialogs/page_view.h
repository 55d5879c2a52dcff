#pragma once

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>

#include <functional>

namespace fb {

// Pages of paper one below the other, as a person scrolls through a printout: each page is
// painted only when it comes into view and is kept for a while, so that the first page shows
// at once however many follow. Page Up and Page Down go to the previous and next page, Home
// and End to the first and last.
class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Paints a page, counted from 0, on an image filled with white that shows the whole paper.
    using PagePainter = std::function<void(int page, QImage &image)>;
    enum class Zoom { PageWidth, WholePage, Fixed };

    explicit PageView(QWidget *parent = nullptr);

    // Pages of paper of the given size in points.
    void setPages(int count, QSizeF paper, PagePainter paint);
    // More pages of the same kind: where the view stands stays.
    void setPageCount(int count);
    int pageCount() const { return m_count; }
    // The page the view stands on, counted from 0.
    int currentPage() const { return m_current; }
    void showPage(int page);

    void setZoom(Zoom zoom);
    // Scales the pages by factor from their present size.
    void zoomBy(double factor);

Q_SIGNALS:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSize pageSize() const;
    int pitch() const;
    QRect pageRect(int page) const;
    const QImage &pageImage(int page);
    void updateLayout();
    void setCurrent(int page);

    int m_count = 0;
    QSizeF m_paper;
    PagePainter m_paint;
    Zoom m_zoom = Zoom::PageWidth;
    // Screen pixels per point of paper.
    double m_scale = 1;
    int m_current = 0;
    // Set while the view itself scrolls to a page, which is then the current one.
    bool m_goingToPage = false;
    QCache<int, QImage> m_images;
    // The size of the pages kept in m_images.
    QSize m_keptSize;
};

} // namespace fb
