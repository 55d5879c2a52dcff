#pragma once

#include "page_canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include <optional>

class QPrinter;

namespace fb {

// Paints the pages on a printer, or into a PDF file when the printer's output format says
// so, and measures texts with the printer's font metrics. The printer must outlive the
// canvas; a job still running when the canvas goes is ended.
class PrinterCanvas : public PageCanvas {
public:
    explicit PrinterCanvas(QPrinter &printer);
    ~PrinterCanvas() override;
    PrinterCanvas(const PrinterCanvas &) = delete;
    PrinterCanvas &operator=(const PrinterCanvas &) = delete;

    void setJobTitle(const QString &title) override;
    void beginJob() override;
    void newPage() override;
    void endJob() override;
    void abortJob() noexcept override;

    int pageWidth() const override;
    int pageHeight() const override;
    int horizontalResolution() const override;

    void selectFont(const PrintFont &font) override;
    void textOut(int x, int y, const QString &text) override;
    int textWidth(const QString &text) const override;
    int textHeight(const QString &text) const override;

    void setPenWidth(int width) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;

private:
    QPrinter &m_printer;
    QPainter m_painter;
    QFont m_font;
    QColor m_textColor = Qt::black;
    std::optional<QFontMetrics> m_metrics;
    QPen m_linePen;
    QPoint m_position;
};

} // namespace fb
