#include "shaped_texts.h"

#include <QFontMetrics>
#include <QPainter>
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

void ShapedTexts::draw(QPainter &painter, const QPointF &baseline, const QString &text)
{
    const Shaped &shapedText = shaped(text);
    if (shapedText.layout)
        shapedText.layout->draw(&painter, baseline - QPointF(0, shapedText.ascent));
    else
        painter.drawText(baseline, text);
}

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
        return Shaped{nullptr, 0, QFontMetrics(m_font, m_device).horizontalAdvance(text)};
    return Shaped{std::move(layout), line.ascent(), qRound(line.horizontalAdvance())};
}

} // namespace fb
