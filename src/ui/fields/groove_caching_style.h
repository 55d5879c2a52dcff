#pragma once

#include <QProxyStyle>

namespace fb {

// Draws a scroll bar's groove from a picture made once per size and look, and only the arrows
// and the slider anew. The groove runs the whole height of the bar; the raster painter shares
// a fill that tall out to its worker threads and waits for them, and on a busy machine that
// wait made single frames of a long list paged through with the keyboard take several times
// as long as the others.
class GrooveCachingStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
};

} // namespace fb
