#include "recorded_pages.h"

#include <algorithm>

namespace fb {

RecordedPages::RecordedPages(PageCanvas &layoutCanvas) : m_layoutCanvas(layoutCanvas) {}

int RecordedPages::pageCount() const
{
    return m_ended ? int(m_pageStarts.size()) : 0;
}

void RecordedPages::paintPage(int index, PageCanvas &canvas) const
{
    const std::size_t begin = m_pageStarts.at(std::size_t(index));
    const std::size_t end = std::size_t(index) + 1 < m_pageStarts.size()
                                ? m_pageStarts[std::size_t(index) + 1]
                                : m_steps.size();
    for (std::size_t i = begin; i < end; ++i) {
        const Step &step = m_steps[i];
        switch (step.kind) {
        case Step::Font:
            canvas.selectFont(m_fonts[std::size_t(step.y)]);
            break;
        case Step::Text:
            canvas.textOut(step.x, step.y, step.text);
            break;
        case Step::PenWidth:
            canvas.setPenWidth(step.x);
            break;
        case Step::Move:
            canvas.moveTo(step.x, step.y);
            break;
        case Step::Line:
            canvas.lineTo(step.x, step.y);
            break;
        }
    }
}

void RecordedPages::setJobTitle(const QString &) {}

void RecordedPages::beginJob()
{
    m_fonts.clear();
    m_widths.clear();
    m_steps.clear();
    m_pageStarts.clear();
    m_ended = false;
    m_penWidth = 1;
    m_x = m_y = 0;
    beginPage();
}

void RecordedPages::newPage()
{
    beginPage();
}

void RecordedPages::beginPage()
{
    m_pageStarts.push_back(m_steps.size());
    // A page is painted on its own: it begins with what the job had in use there.
    if (!m_fonts.empty())
        m_steps.push_back(Step{Step::Font, 0, int(m_font), {}});
    m_steps.push_back(Step{Step::PenWidth, m_penWidth, 0, {}});
    m_steps.push_back(Step{Step::Move, m_x, m_y, {}});
}

void RecordedPages::endJob()
{
    m_ended = true;
}

void RecordedPages::abortJob() noexcept
{
    m_ended = false;
    m_pageStarts.clear();
}

int RecordedPages::pageWidth() const
{
    return m_layoutCanvas.pageWidth();
}

int RecordedPages::pageHeight() const
{
    return m_layoutCanvas.pageHeight();
}

int RecordedPages::horizontalResolution() const
{
    return m_layoutCanvas.horizontalResolution();
}

void RecordedPages::selectFont(const PrintFont &font)
{
    m_layoutCanvas.selectFont(font);
    const auto known = std::find(m_fonts.begin(), m_fonts.end(), font);
    m_font = std::size_t(known - m_fonts.begin());
    if (known == m_fonts.end()) {
        m_fonts.push_back(font);
        m_widths.emplace_back();
    }
    m_steps.push_back(Step{Step::Font, 0, int(m_font), {}});
}

void RecordedPages::textOut(int x, int y, const QString &text)
{
    m_steps.push_back(Step{Step::Text, x, y, text});
}

int RecordedPages::textWidth(const QString &text) const
{
    if (m_fonts.empty())
        return m_layoutCanvas.textWidth(text);
    // Places, kinds and the table's titles come again and again; measuring a text is what
    // takes the layout's time.
    QHash<QString, int> &widths = m_widths[m_font];
    const auto known = widths.constFind(text);
    if (known != widths.constEnd())
        return *known;
    const int width = m_layoutCanvas.textWidth(text);
    widths.insert(text, width);
    return width;
}

int RecordedPages::textHeight(const QString &text) const
{
    return m_layoutCanvas.textHeight(text);
}

void RecordedPages::setPenWidth(int width)
{
    m_penWidth = width;
    m_steps.push_back(Step{Step::PenWidth, width, 0, {}});
}

void RecordedPages::moveTo(int x, int y)
{
    m_x = x;
    m_y = y;
    m_steps.push_back(Step{Step::Move, x, y, {}});
}

void RecordedPages::lineTo(int x, int y)
{
    m_x = x;
    m_y = y;
    m_steps.push_back(Step{Step::Line, x, y, {}});
}

} // namespace fb
