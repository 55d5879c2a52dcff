#include "recorded_pages.h"

#include <algorithm>

namespace fb {

RecordedPages::RecordedPages(PageCanvas &layoutCanvas) : m_layoutCanvas(layoutCanvas) {}

int RecordedPages::pageCount() const
{
    const std::lock_guard lock(m_mutex);
    return int(m_pages.size());
}

bool RecordedPages::isComplete() const
{
    const std::lock_guard lock(m_mutex);
    return m_complete;
}

bool RecordedPages::waitForPage(int index) const
{
    std::unique_lock lock(m_mutex);
    const auto complete = [this, index] {
        return std::size_t(index) < m_pages.size();
    };
    m_changed.wait(lock, [&] { return complete() || m_over; });
    return complete();
}

void RecordedPages::stop()
{
    m_stopping = true;
}

void RecordedPages::paintPage(int index, PageCanvas &canvas) const
{
    std::vector<Step> steps;
    std::vector<PrintFont> fonts;
    {
        const std::lock_guard lock(m_mutex);
        if (index < 0 || std::size_t(index) >= m_pages.size())
            return;
        steps = m_pages[std::size_t(index)];
        fonts = m_fonts;
    }
    replay(steps, fonts, canvas);
}

void RecordedPages::paintPageOnce(int index, PageCanvas &canvas)
{
    std::vector<Step> steps;
    std::vector<PrintFont> fonts;
    {
        const std::lock_guard lock(m_mutex);
        if (index < 0 || std::size_t(index) >= m_pages.size())
            return;
        steps.swap(m_pages[std::size_t(index)]);
        fonts = m_fonts;
    }
    replay(steps, fonts, canvas);
}

void RecordedPages::replay(const std::vector<Step> &steps, const std::vector<PrintFont> &fonts,
                           PageCanvas &canvas)
{
    for (const Step &step : steps) {
        switch (step.kind) {
        case Step::Font:
            canvas.selectFont(fonts[std::size_t(step.y)]);
            break;
        case Step::Text:
            if (step.glyphs)
                canvas.textOutShaped(step.x, step.y, step.text, *step.glyphs);
            else
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
    {
        const std::lock_guard lock(m_mutex);
        m_fonts.clear();
        m_pages.clear();
        m_complete = m_over = false;
    }
    m_widths.clear();
    m_penWidth = 1;
    m_x = m_y = 0;
    m_open.clear();
    openPage();
}

void RecordedPages::newPage()
{
    completePage(false);
    openPage();
}

void RecordedPages::endJob()
{
    completePage(true);
}

void RecordedPages::abortJob() noexcept
{
    {
        const std::lock_guard lock(m_mutex);
        m_over = true;
    }
    m_changed.notify_all();
}

void RecordedPages::completePage(bool last)
{
    if (m_stopping)
        throw Stopped();
    {
        const std::lock_guard lock(m_mutex);
        m_pages.push_back(std::move(m_open));
        m_complete = m_over = last;
    }
    m_changed.notify_all();
    m_open = {};
}

void RecordedPages::openPage()
{
    // A page is painted on its own: it begins with what the job had in use there.
    if (!m_fonts.empty())
        m_open.push_back(Step{Step::Font, 0, int(m_font), {}, {}});
    m_open.push_back(Step{Step::PenWidth, m_penWidth, 0, {}, {}});
    m_open.push_back(Step{Step::Move, m_x, m_y, {}, {}});
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
        const std::lock_guard lock(m_mutex);
        m_fonts.push_back(font);
        m_widths.emplace_back();
    }
    m_open.push_back(Step{Step::Font, 0, int(m_font), {}, {}});
}

void RecordedPages::textOut(int x, int y, const QString &text)
{
    m_open.push_back(Step{Step::Text, x, y, text, m_layoutCanvas.shapedGlyphs(text)});
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
    m_open.push_back(Step{Step::PenWidth, width, 0, {}, {}});
}

void RecordedPages::moveTo(int x, int y)
{
    m_x = x;
    m_y = y;
    m_open.push_back(Step{Step::Move, x, y, {}, {}});
}

void RecordedPages::lineTo(int x, int y)
{
    m_x = x;
    m_y = y;
    m_open.push_back(Step{Step::Line, x, y, {}, {}});
}

} // namespace fb
