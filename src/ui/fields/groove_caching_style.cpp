#include "groove_caching_style.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOptionSlider>

namespace fb {
namespace {

// What the groove's picture depends on: its size and pixel ratio, the colours, and the states
// a style may draw it differently for.
QString grooveKey(const QStyleOptionSlider &option, qreal pixelRatio)
{
    const QStyle::State looks =
        option.state & (QStyle::State_Enabled | QStyle::State_Active | QStyle::State_MouseOver |
                        QStyle::State_Sunken | QStyle::State_Horizontal);
    return QStringLiteral("fahrtenbuch-groove-%1x%2@%3-%4-%5-%6")
        .arg(option.rect.width())
        .arg(option.rect.height())
        .arg(pixelRatio)
        .arg(option.palette.cacheKey())
        .arg(int(looks))
        .arg(int(option.activeSubControls & QStyle::SC_ScrollBarGroove));
}

} // namespace

void GrooveCachingStyle::drawComplexControl(ComplexControl control,
                                            const QStyleOptionComplex *option, QPainter *painter,
                                            const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar || !(bar->subControls & SC_ScrollBarGroove) ||
        bar->rect.isEmpty()) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }

    const qreal pixelRatio = painter->device()->devicePixelRatio();
    const QString key = grooveKey(*bar, pixelRatio);
    QPixmap groove;
    if (!QPixmapCache::find(key, &groove)) {
        groove = QPixmap(bar->rect.size() * pixelRatio);
        groove.setDevicePixelRatio(pixelRatio);
        // Opaque, so that it is copied rather than blended: the groove covers all of it.
        groove.fill(bar->palette.color(QPalette::Window));
        QStyleOptionSlider grooveOnly = *bar;
        grooveOnly.rect.moveTo(0, 0);
        grooveOnly.subControls = SC_ScrollBarGroove;
        QPainter groovePainter(&groove);
        QProxyStyle::drawComplexControl(control, &grooveOnly, &groovePainter, widget);
        groovePainter.end();
        QPixmapCache::insert(key, groove);
    }
    painter->drawPixmap(bar->rect.topLeft(), groove);

    QStyleOptionSlider rest = *bar;
    rest.subControls &= ~SC_ScrollBarGroove;
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
}

} // namespace fb
