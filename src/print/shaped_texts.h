#pragma once

#include "shaped_glyphs.h"

#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QString>

#include <array>
#include <memory>

class QPainter;
class QPaintDevice;
class QPointF;
class QTextLayout;

namespace fb {

// Texts of one font laid out once on one device: the width QFontMetrics gives them and the
// glyphs to paint, so that a text measured for the page layout is not shaped again when it is
// drawn. The texts met last are kept, and those met again after their drawing (places, kinds)
// for good, up to a bound: dates and readings, met once each, take no memory for long. The
// device must outlive the cache.
class ShapedTexts {
public:
    ShapedTexts(const QFont &font, QPaintDevice *device);

    int width(const QString &text) { return qRound(shaped(text).advance); }
    // Draws the text with the painter's pen from the left end of its baseline.
    void draw(QPainter &painter, const QPointF &baseline, const QString &text);
    // The text's glyphs, for the same font in another thread; nothing for a text that is not
    // one line of this font alone, or for a font with lines through, under or over its texts.
    std::shared_ptr<const ShapedGlyphs> glyphs(const QString &text);
    // Draws glyphs another thread shaped as draw does; false when they are of another font.
    bool draw(QPainter &painter, const QPointF &baseline, const ShapedGlyphs &glyphs);

private:
    struct Shaped {
        // Empty for a text that is not one line (a line separator breaks it): that one is
        // drawn as text.
        std::shared_ptr<const QTextLayout> layout;
        qreal ascent = 0;
        // The width QFontMetrics gives the text, rounded by width().
        qreal advance = 0;
        std::shared_ptr<const ShapedGlyphs> glyphs;
    };

    struct Recent {
        QString text;
        Shaped shaped;
        int uses = 0;
    };

    // Valid until the next call.
    Shaped &shaped(const QString &text);
    Shaped shape(const QString &text) const;

    QFont m_font;
    QPaintDevice *m_device;
    std::array<Recent, 64> m_recent;
    std::size_t m_nextRecent = 0;
    QHash<QString, Shaped> m_kept;
    // The font as glyphs of other threads are drawn with, made on first use.
    QRawFont m_rawFont;
    QString m_rawFontName;
    // The font of the glyphs handed out last, and its name.
    QRawFont m_lastRunFont;
    QString m_lastRunFontName;
};

} // namespace fb
