#pragma once

#include "model/print_font.h"
#include "shaped_glyphs.h"

#include <QString>

#include <memory>

namespace fb {

// The printer as the printed logbook uses it: a job of pages and a canvas to draw on, in
// device pixels of the printable area (origin at its top-left corner, y downwards). The
// layout is computed once against this interface; one implementation paints on a printer
// or a PDF file, another records what was drawn for the tests.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;

    virtual void setJobTitle(const QString &title) = 0;
    // Begins the job and its first page. Throws Error when it cannot.
    virtual void beginJob() = 0;
    virtual void newPage() = 0;
    // Ends the job; the pages go out. Throws Error when they could not be written.
    virtual void endJob() = 0;
    // Gives up a begun job, so the next one can begin; nothing of it goes out if avoidable.
    virtual void abortJob() noexcept = 0;

    // The printable area; valid once the job has begun.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    // Pixels per inch across; serves for vertical distances too. Throws Error when there is
    // no printer.
    virtual int horizontalResolution() const = 0;

    virtual void selectFont(const PrintFont &font) = 0;
    // Places the text by the top-left corner of its text cell.
    virtual void textOut(int x, int y, const QString &text) = 0;
    virtual int textWidth(const QString &text) const = 0;
    // The glyphs this canvas shapes the text into with the selected font, for another canvas
    // to draw (textOutShaped); nothing where it does not shape texts itself.
    virtual std::shared_ptr<const ShapedGlyphs> shapedGlyphs(const QString &) const
    {
        return nullptr;
    }
    // Places the text as textOut does, with the glyphs another canvas shaped it into where they
    // are of this canvas's font.
    virtual void textOutShaped(int x, int y, const QString &text, const ShapedGlyphs &)
    {
        textOut(x, y, text);
    }
    virtual int textHeight(const QString &text) const = 0;

    virtual void setPenWidth(int width) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
};

} // namespace fb
