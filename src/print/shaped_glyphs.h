#pragma once

#include <QPointF>
#include <QString>

#include <vector>

namespace fb {

// A text's glyphs as one canvas shaped them with one font, in plain values that may go from
// the thread that laid a printout out to the one that draws it: the drawing side need not
// shape the text again where it has the same font.
struct ShapedGlyphs {
    // Family, style and pixel size of the font the glyphs belong to.
    QString font;
    std::vector<quint32> indexes;
    // From the left end of the text's baseline, in device pixels.
    std::vector<QPointF> positions;
    // The text's advance, as far as a line through it goes.
    qreal advance = 0;
};

} // namespace fb
