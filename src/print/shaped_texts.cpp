#include "shaped_texts.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <limits>

namespace fb {
namespace {

// Beyond these many repeated texts (a logbook of ever new places) the others stay recent ones.
constexpr qsizetype kMostKept = 1024;
// A text is measured and then drawn; a third use is a text that repeats.
constexpr int kUsesToKeep = 3;

// What tells a font's glyphs from another's: the same name, the same glyph numbers.
QString nameOf(const QRawFont &font)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(font.familyName(), font.styleName())
        .arg(font.pixelSize())
        .arg(font.weight())
        .arg(int(font.style()));
}

// The line through a text, as Qt draws it through a text it lays out: the same pen with the
// font's line thickness and flat ends, a third of the ascent above the baseline, from and to
// whole device pixels.
void strikeThrough(QPainter &painter, const QPointF &baseline, qreal advance, const QRawFont &font)
{
    const QPen textPen = painter.pen();
    const QBrush brush = painter.brush();
    painter.setBrush(Qt::NoBrush);
    QPen pen = textPen;
    pen.setStyle(Qt::SolidLine);
    pen.setWidthF(font.lineThickness());
    pen.setCapStyle(Qt::FlatCap);
    const qreal y = baseline.y() - font.ascent() / 3.;
    painter.setPen(pen);
    painter.drawLine(QLineF(qFloor(baseline.x()), y, qFloor(baseline.x() + advance), y));
    painter.setPen(textPen);
    painter.setBrush(brush);
}

} // namespace

ShapedTexts::ShapedTexts(const QFont &font, QPaintDevice *device) : m_font(font), m_device(device)
{}

void ShapedTexts::draw(QPainter &painter, const QPointF &baseline, const QString &text)
{
    const Shaped &shapedText = shaped(text);
    if (shapedText.layout)
        shapedText.layout->draw(&painter, baseline - QPointF(0, shapedText.ascent));
    else
        painter.drawText(baseline, text);
}

std::shared_ptr<const ShapedGlyphs> ShapedTexts::glyphs(const QString &text)
{
    // Qt draws a line under or over glyphs a device pixel longer than under the same text
    // shaped: such texts are shaped where they are drawn, so that every page is the same
    // whichever way it was made. A line through a text is drawn here as Qt draws it.
    if (m_font.underline() || m_font.overline())
        return nullptr;
    Shaped &shapedText = shaped(text);
    if (shapedText.glyphs || !shapedText.layout)
        return shapedText.glyphs;
    const QList<QGlyphRun> runs = shapedText.layout->glyphRuns();
    if (runs.size() != 1)
        return nullptr;
    const QGlyphRun &run = runs.front();
    auto glyphs = std::make_shared<ShapedGlyphs>();
    // A raw font is made for every run; its name, made anew, would cost more than the glyphs.
    if (const QRawFont font = run.rawFont(); !(font == m_lastRunFont)) {
        m_lastRunFont = font;
        m_lastRunFontName = nameOf(font);
    }
    glyphs->font = m_lastRunFontName;
    glyphs->advance = shapedText.advance;
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    glyphs->indexes.assign(indexes.begin(), indexes.end());
    glyphs->positions.reserve(std::size_t(positions.size()));
    for (const QPointF &position : positions)
        glyphs->positions.push_back(position - QPointF(0, shapedText.ascent));
    shapedText.glyphs = std::move(glyphs);
    return shapedText.glyphs;
}

bool ShapedTexts::draw(QPainter &painter, const QPointF &baseline, const ShapedGlyphs &glyphs)
{
    if (m_rawFontName.isNull()) {
        m_rawFont = QRawFont::fromFont(QFont(m_font, m_device));
        m_rawFontName = nameOf(m_rawFont);
    }
    if (glyphs.font != m_rawFontName || glyphs.indexes.size() != glyphs.positions.size())
        return false;
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setRawData(glyphs.indexes.data(), glyphs.positions.data(), int(glyphs.indexes.size()));
    painter.drawGlyphRun(baseline, run);
    if (m_font.strikeOut())
        strikeThrough(painter, baseline, glyphs.advance, m_rawFont);
    return true;
}

ShapedTexts::Shaped &ShapedTexts::shaped(const QString &text)
{
    const auto kept = m_kept.find(text);
    if (kept != m_kept.end())
        return *kept;
    for (Recent &recent : m_recent) {
        if (recent.uses == 0 || recent.text != text)
            continue;
        if (++recent.uses >= kUsesToKeep && m_kept.size() < kMostKept)
            return *m_kept.insert(text, recent.shaped);
        return recent.shaped;
    }
    Recent &slot = m_recent[m_nextRecent];
    m_nextRecent = (m_nextRecent + 1) % m_recent.size();
    slot = Recent{text, shape(text), 1};
    return slot.shaped;
}

ShapedTexts::Shaped ShapedTexts::shape(const QString &text) const
{
    auto layout = std::make_shared<QTextLayout>(text, m_font, m_device);
    // From the left end, as a painter draws a text, also one that begins right-to-left; its
    // direction comes from the text, as the painter's does.
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setWrapMode(QTextOption::NoWrap);
    // Trailing blanks count, as they do for QFontMetrics.
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout->setTextOption(option);
    // The glyphs stay for drawing.
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid())
        line.setLineWidth(std::numeric_limits<int>::max() / 4);
    const bool oneLine =
        line.isValid() && line.textLength() == text.size() && !layout->createLine().isValid();
    layout->endLayout();
    if (!oneLine)
        return Shaped{
            nullptr, 0, qreal(QFontMetrics(m_font, m_device).horizontalAdvance(text)), {}};
    return Shaped{std::move(layout), line.ascent(), line.horizontalAdvance(), {}};
}

} // namespace fb
