#include "shaped_texts.h"

#include <QFontMetrics>
#include <QTextLayout>

#include <limits>

namespace fb {
namespace {

// Texts met once (dates, readings) would gather without end in a long logbook; the cache
// starts anew past this many, which costs a repeated text one more shaping.
constexpr qsizetype kMostTexts = 4096;

} // namespace

ShapedTexts::ShapedTexts(const QFont &font, QPaintDevice *device) : m_font(font), m_device(device)
{}

const ShapedTexts::Shaped &ShapedTexts::shaped(const QString &text)
{
    auto found = m_texts.constFind(text);
    if (found != m_texts.constEnd())
        return *found;
    if (m_texts.size() >= kMostTexts)
        m_texts.clear();
    return *m_texts.insert(text, shape(text));
}

ShapedTexts::Shaped ShapedTexts::shape(const QString &text) const
{
    QTextLayout layout(text, m_font, m_device);
    // From the left end, as a painter draws a text, also one that begins right-to-left; its
    // direction comes from the text, as the painter's does.
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setWrapMode(QTextOption::NoWrap);
    // Trailing blanks count, as they do for QFontMetrics.
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(std::numeric_limits<int>::max() / 4);
    const bool oneLine =
        line.isValid() && line.textLength() == text.size() && !layout.createLine().isValid();
    layout.endLayout();
    Shaped shaped;
    if (!oneLine) {
        shaped.width = QFontMetrics(m_font, m_device).horizontalAdvance(text);
        return shaped;
    }
    shaped.width = qRound(line.horizontalAdvance());
    shaped.asGlyphs = true;
    shaped.runs = line.glyphRuns();
    const QPointF toBaseline(0, -line.ascent());
    for (QGlyphRun &run : shaped.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF &position : positions)
            position += toBaseline;
        run.setPositions(positions);
    }
    return shaped;
}

} // namespace fb
