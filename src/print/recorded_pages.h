#pragma once

#include "page_canvas.h"

#include <QHash>

#include <vector>

namespace fb {

// A printout laid out once and kept as what each of its pages draws, so that any page can be
// painted on its own, later and as often as it is needed: a preview lays out all pages at once
// and paints only those that come into view. Texts are measured, and the page's size taken,
// on the canvas the pages are laid out for; nothing is drawn on it.
class RecordedPages : public PageCanvas {
public:
    explicit RecordedPages(PageCanvas &layoutCanvas);

    // The pages of the last job that ended; none while one is running or after one was
    // aborted.
    int pageCount() const;
    // Draws page index (from 0) on canvas as the job drew it, beginning with the font, pen
    // and position in use where the page began; no job is begun or ended on canvas.
    void paintPage(int index, PageCanvas &canvas) const;

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
    struct Step {
        enum Kind : quint8 { Font, Text, PenWidth, Move, Line };
        Kind kind;
        // The position; the pen width in x; the font's place in m_fonts in y.
        int x = 0;
        int y = 0;
        QString text;
    };
    // Where a page's steps begin in m_steps.
    void beginPage();

    PageCanvas &m_layoutCanvas;
    // Every font the job selected, once; m_font is the one in use.
    std::vector<PrintFont> m_fonts;
    std::size_t m_font = 0;
    // The widths measured so far, by font.
    mutable std::vector<QHash<QString, int>> m_widths;
    std::vector<Step> m_steps;
    std::vector<std::size_t> m_pageStarts;
    bool m_ended = false;
    int m_penWidth = 1;
    int m_x = 0;
    int m_y = 0;
};

} // namespace fb
