#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>

class QPaintDevice;

namespace fb {

// Texts of one font laid out once on one device: the width QFontMetrics gives them and the
// glyphs to paint, so that a text measured for the page layout is not shaped again when it is
// drawn. Places, purposes and kinds repeat from trip to trip and are shaped only once. The
// device must outlive the cache.
class ShapedTexts {
public:
    struct Shaped {
        // Positions from the left end of the baseline. Empty for a text the glyphs cannot
        // stand for (one that a line separator breaks): that one is drawn as text.
        QList<QGlyphRun> runs;
        int width = 0;
        bool asGlyphs = false;
    };

    ShapedTexts(const QFont &font, QPaintDevice *device);

    const Shaped &shaped(const QString &text);

private:
    Shaped shape(const QString &text) const;

    QFont m_font;
    QPaintDevice *m_device;
    QHash<QString, Shaped> m_texts;
};

} // namespace fb
