#pragma once

#include "page_canvas.h"
#include "shaped_texts.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include <map>
#include <optional>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace fb {

// Paints the pages on a printer (or into its PDF file when the printer's output format says
// so) or on a PDF writer, and measures texts with the device's font metrics. The device must
// outlive the canvas; a job still running when the canvas goes is ended.
class PrinterCanvas : public PageCanvas {
public:
    explicit PrinterCanvas(QPrinter &printer);
    // A writer that has a title keeps it; the job's title goes there otherwise. A PDF/A
    // writer gets its metadata packet, with the author, when the job begins.
    explicit PrinterCanvas(QPdfWriter &writer, const QString &author = QString());
    // Paints on a painter that is already active, where a page is shown rather than printed,
    // with the metrics of the printer the page was laid out for; no job is begun or ended.
    PrinterCanvas(QPainter &painter, QPrinter &layoutPrinter);
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
    std::shared_ptr<const ShapedGlyphs> shapedGlyphs(const QString &text) const override;
    void textOutShaped(int x, int y, const QString &text, const ShapedGlyphs &glyphs) override;

    void setPenWidth(int width) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;

    // Lets go of the fonts and the texts shaped with them. A thread that laid a printout out
    // on this canvas calls it before it ends: fonts belong to the thread that made them.
    void forgetFonts();

private:
    // Where a text whose cell has its top-left corner at (x, y) begins its baseline.
    QPoint baselineAt(int x, int y);
    QPagedPaintDevice &m_device;
    // Exactly one of the two is set.
    QPrinter *m_printer = nullptr;
    QPdfWriter *m_writer = nullptr;
    QString m_author;
    QPainter m_ownPainter;
    // The own painter, unless one was given.
    QPainter &m_painter = m_ownPainter;
    QFont m_font;
    // One pen for every text of a font: the painter sees it is the pen it has without
    // comparing colours.
    QPen m_textPen{Qt::black};
    std::optional<QFontMetrics> m_metrics;
    // The metrics' ascent, asked once a font: Qt looks the font's engine up at every call.
    int m_ascent = 0;
    QPen m_linePen{Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
    QPoint m_position;
    // Into a PDF file texts are shaped once per font, for measuring and drawing both. A
    // printer keeps drawing texts as they come: its preview records them as such.
    std::map<QString, ShapedTexts> m_shapedByFont;
    ShapedTexts *m_shaped = nullptr;
};

} // namespace fb
