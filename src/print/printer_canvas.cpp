#include "printer_canvas.h"

#include "core/error.h"
#include "pdfa_metadata.h"
#include "qt_print_font.h"

#include <QPdfWriter>
#include <QPrinter>

namespace fb {
namespace {

const QString kNoPrinter = QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt");

// The second the metadata packet gives as the creation date. The PDF engine takes the time for
// its document information dictionary itself a few milliseconds later; the owner of the file
// sets the packet's dates to the engine's when a new second began in between
// (xmpDateCorrections).
QDateTime creationSecond()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return now.addMSecs(-now.time().msec());
}

} // namespace

PrinterCanvas::PrinterCanvas(QPrinter &printer) : m_device(printer), m_printer(&printer) {}

PrinterCanvas::PrinterCanvas(QPdfWriter &writer, const QString &author)
    : m_device(writer), m_writer(&writer), m_author(author)
{}

PrinterCanvas::PrinterCanvas(QPainter &painter, QPrinter &layoutPrinter)
    : m_device(layoutPrinter), m_printer(&layoutPrinter), m_painter(painter)
{}

PrinterCanvas::~PrinterCanvas()
{
    if (m_ownPainter.isActive())
        m_ownPainter.end();
}

void PrinterCanvas::setJobTitle(const QString &title)
{
    if (m_printer)
        m_printer->setDocName(title);
    else if (m_writer->title().isEmpty())
        m_writer->setTitle(title);
}

void PrinterCanvas::beginJob()
{
    if (m_writer && m_writer->pdfVersion() == QPagedPaintDevice::PdfVersion_A1b)
        m_writer->setDocumentXmpMetadata(
            pdfaXmp({m_writer->title(), m_author, m_writer->creator(),
                     QStringLiteral("Qt ") + QLatin1String(qVersion()), creationSecond()}));
    if (!m_painter.begin(&m_device)) {
        // Without a printer in the system Qt falls back to a PDF printer without a file,
        // which cannot print anywhere. A print preview paints on such a printer as well, so
        // it is told apart only here.
        const bool pdfWithoutFile = m_printer && m_printer->outputFormat() == QPrinter::PdfFormat &&
                                    m_printer->outputFileName().isEmpty();
        throw Error(pdfWithoutFile
                        ? kNoPrinter
                        : QStringLiteral("Der Druckauftrag konnte nicht begonnen werden"));
    }
    m_painter.setFont(m_font);
}

void PrinterCanvas::newPage()
{
    if (!m_device.newPage())
        throw Error(QStringLiteral("Der Drucker konnte keine neue Seite beginnen"));
}

void PrinterCanvas::endJob()
{
    if (!m_painter.end() || (m_printer && m_printer->printerState() == QPrinter::Error))
        throw Error(QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden"));
}

void PrinterCanvas::abortJob() noexcept
{
    // A PDF writer's half-written file is its owner's to throw away.
    if (m_printer)
        m_printer->abort();
    if (m_painter.isActive())
        m_painter.end();
}

int PrinterCanvas::pageWidth() const
{
    return m_device.width();
}

int PrinterCanvas::pageHeight() const
{
    return m_device.height();
}

int PrinterCanvas::horizontalResolution() const
{
    if (m_printer && !m_printer->isValid())
        throw Error(kNoPrinter);
    return m_device.logicalDpiX();
}

void PrinterCanvas::selectFont(const PrintFont &font)
{
    m_font = toQFont(font);
    m_textPen = QPen(textColor(font));
    m_metrics.emplace(m_font, &m_device);
    m_ascent = m_metrics->ascent();
    m_shaped = m_writer ? &m_shapedByFont.try_emplace(m_font.key(), m_font, &m_device).first->second
                        : nullptr;
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}

QPoint PrinterCanvas::baselineAt(int x, int y)
{
    if (!m_metrics) {
        m_metrics.emplace(m_font, &m_device);
        m_ascent = m_metrics->ascent();
    }
    // Texts are placed by the top-left corner of their cell; Qt draws from the baseline.
    return QPoint(x, y + m_ascent);
}

void PrinterCanvas::textOut(int x, int y, const QString &text)
{
    const QPoint baseline = baselineAt(x, y);
    m_painter.setPen(m_textPen);
    if (m_shaped)
        m_shaped->draw(m_painter, baseline, text);
    else
        m_painter.drawText(baseline, text);
}

int PrinterCanvas::textWidth(const QString &text) const
{
    if (m_shaped)
        return m_shaped->width(text);
    return m_metrics ? m_metrics->horizontalAdvance(text)
                     : QFontMetrics(m_font, &m_device).horizontalAdvance(text);
}

std::shared_ptr<const ShapedGlyphs> PrinterCanvas::shapedGlyphs(const QString &text) const
{
    return m_shaped ? m_shaped->glyphs(text) : nullptr;
}

void PrinterCanvas::textOutShaped(int x, int y, const QString &text, const ShapedGlyphs &glyphs)
{
    m_painter.setPen(m_textPen);
    if (!m_shaped || !m_shaped->draw(m_painter, baselineAt(x, y), glyphs))
        textOut(x, y, text);
}

void PrinterCanvas::forgetFonts()
{
    m_shaped = nullptr;
    m_shapedByFont.clear();
    m_metrics.reset();
    m_font = QFont();
}

int PrinterCanvas::textHeight(const QString &) const
{
    return m_metrics ? m_metrics->height() : QFontMetrics(m_font, &m_device).height();
}

void PrinterCanvas::setPenWidth(int width)
{
    m_linePen.setWidth(width);
}

void PrinterCanvas::moveTo(int x, int y)
{
    m_position = QPoint(x, y);
}

void PrinterCanvas::lineTo(int x, int y)
{
    const QPoint to(x, y);
    m_painter.setPen(m_linePen);
    m_painter.drawLine(m_position, to);
    m_position = to;
}

} // namespace fb
