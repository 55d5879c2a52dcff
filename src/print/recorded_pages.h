#pragma once

#include "page_canvas.h"

#include <QHash>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace fb {

// A printout laid out once and kept as what each of its pages draws, so that any page can be
// painted on its own, later and as often as it is needed. Texts are measured, and the page's
// size taken, on the canvas the pages are laid out for; nothing is drawn on it.
//
// The job may run in a thread of its own while another thread paints the pages completed so
// far: a preview shows the first page while the others are still being laid out.
class RecordedPages : public PageCanvas {
public:
    // Thrown out of the job once stop() was called.
    struct Stopped {};

    explicit RecordedPages(PageCanvas &layoutCanvas);

    // The pages completed so far.
    int pageCount() const;
    // Whether the job has ended, with all its pages.
    bool isComplete() const;
    // Waits until the first page is complete or the job is over, ended or aborted; false when
    // it is over without a page.
    bool waitForFirstPage() const { return waitForPage(0); }
    // The same for the page at index (from 0).
    bool waitForPage(int index) const;
    // Ends a running job at its next page: the job throws Stopped.
    void stop();
    // Draws a completed page (from 0) on canvas as the job drew it, beginning with the font,
    // pen and position in use where the page began; no job is begun or ended on canvas.
    void paintPage(int index, PageCanvas &canvas) const;
    // The same for a page that will not be painted again: it then draws nothing.
    void paintPageOnce(int index, PageCanvas &canvas);

    void setJobTitle(const QString &title) override;
    void beginJob() override;
    void newPage() override;
    void endJob() override;
    // Also for a job that failed before it began: the pages completed stay.
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
    struct Step {
        enum Kind : quint8 { Font, Text, PenWidth, Move, Line };
        Kind kind;
        // The position; the pen width in x; the font's place in m_fonts in y.
        int x = 0;
        int y = 0;
        QString text;
        // The text's glyphs as the layout canvas shaped it, where it does.
        std::shared_ptr<const ShapedGlyphs> glyphs;
    };
    // Draws steps on canvas, with the fonts the job selected; outside the mutex, so that the
    // job goes on meanwhile.
    static void replay(const std::vector<Step> &steps, const std::vector<PrintFont> &fonts,
                       PageCanvas &canvas);
    // Hands the open page over to the painting side and opens the next.
    void completePage(bool last);
    void openPage();

    PageCanvas &m_layoutCanvas;

    // Shared with the painting side, under the mutex: every font the job selected, once, and
    // the completed pages.
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<PrintFont> m_fonts;
    std::vector<std::vector<Step>> m_pages;
    bool m_complete = false;
    bool m_over = false;
    std::atomic<bool> m_stopping = false;

    // The job's own.
    std::vector<Step> m_open;
    std::size_t m_font = 0;
    // The widths measured so far, by font.
    mutable std::vector<QHash<QString, int>> m_widths;
    int m_penWidth = 1;
    int m_x = 0;
    int m_y = 0;
};

} // namespace fb
