#include "shaped_texts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <limits>

namespace fb {
namespace {

// Beyond these many repeated texts (a logbook of ever new places) the others stay recent ones.
constexpr qsizetype kMostKept = 1024;
// A text is measured and then drawn; a third use is a text that repeats.
constexpr int kUsesToKeep = 3;

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
    const auto kept = m_kept.constFind(text);
    if (kept != m_kept.constEnd())
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
        return Shaped{nullptr, 0, QFontMetrics(m_font, m_device).horizontalAdvance(text)};
    return Shaped{std::move(layout), line.ascent(), qRound(line.horizontalAdvance())};
}

} // namespace fb
