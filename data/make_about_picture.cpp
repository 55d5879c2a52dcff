// Draws the picture of the about box, a road towards the horizon under an odometer, and saves
// it as data/about.jpg. The JPEG is committed; build the target make_about_picture and run it
// with the output path to draw it again.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawLandscape(QPainter &painter, const QRectF &area)
{
    const qreal horizon = area.top() + area.height() * 0.45;
    QLinearGradient sky(0, area.top(), 0, horizon);
    sky.setColorAt(0, QColor(0x7d, 0xb6, 0xe8));
    sky.setColorAt(1, QColor(0xe6, 0xf2, 0xfc));
    painter.fillRect(QRectF(area.left(), area.top(), area.width(), horizon - area.top()), sky);
    QLinearGradient meadow(0, horizon, 0, area.bottom());
    meadow.setColorAt(0, QColor(0x8c, 0xc6, 0x5e));
    meadow.setColorAt(1, QColor(0x4f, 0x93, 0x3a));
    painter.fillRect(QRectF(area.left(), horizon, area.width(), area.bottom() - horizon), meadow);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xd0, 0x45));
    painter.drawEllipse(QPointF(area.right() - 48, area.top() + 26), 14, 14);

    // Hills behind the road.
    QPainterPath hills;
    hills.moveTo(area.left(), horizon);
    hills.cubicTo(area.left() + 60, horizon - 22, area.left() + 110, horizon - 4, area.left() + 160,
                  horizon - 14);
    hills.cubicTo(area.left() + 210, horizon - 24, area.right() - 40, horizon - 6, area.right(),
                  horizon - 10);
    hills.lineTo(area.right(), horizon);
    hills.closeSubpath();
    painter.setBrush(QColor(0x6f, 0xa8, 0x4f));
    painter.drawPath(hills);

    // The road, narrowing to a point on the horizon.
    const qreal vanishing = area.left() + area.width() * 0.55;
    QPainterPath road;
    road.moveTo(vanishing - 3, horizon);
    road.lineTo(vanishing + 3, horizon);
    road.lineTo(area.left() + area.width() * 0.86, area.bottom());
    road.lineTo(area.left() + area.width() * 0.18, area.bottom());
    road.closeSubpath();
    painter.setBrush(QColor(0x4a, 0x4d, 0x52));
    painter.drawPath(road);

    // Dashes of the centre line, longer as they come nearer.
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    const qreal bottomCentre = area.left() + area.width() * 0.52;
    for (qreal t = 0.08; t < 1.0; t *= 1.55) {
        const qreal t2 = qMin(1.0, t * 1.3);
        const qreal y1 = horizon + (area.bottom() - horizon) * t;
        const qreal y2 = horizon + (area.bottom() - horizon) * t2;
        const qreal x1 = vanishing + (bottomCentre - vanishing) * t;
        const qreal x2 = vanishing + (bottomCentre - vanishing) * t2;
        const qreal w1 = 0.5 + 2.5 * t;
        const qreal w2 = 0.5 + 2.5 * t2;
        QPainterPath dash;
        dash.moveTo(x1 - w1, y1);
        dash.lineTo(x1 + w1, y1);
        dash.lineTo(x2 + w2, y2);
        dash.lineTo(x2 - w2, y2);
        dash.closeSubpath();
        painter.drawPath(dash);
    }
}

void drawOdometer(QPainter &painter, const QRectF &box)
{
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
    painter.setBrush(QColor(0x2b, 0x2b, 0x2e));
    painter.drawRoundedRect(box, 6, 6);
    const QString digits = QStringLiteral("048317");
    const qreal margin = 6;
    const qreal unitWidth = 24;
    const qreal cell = (box.width() - 2 * margin - unitWidth) / digits.size();
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setBold(true);
    font.setPixelSize(int(box.height() * 0.62));
    painter.setFont(font);
    for (int i = 0; i < digits.size(); ++i) {
        const QRectF drum(box.left() + margin + i * cell + 1, box.top() + margin, cell - 2,
                          box.height() - 2 * margin);
        QLinearGradient shade(0, drum.top(), 0, drum.bottom());
        const bool tenth = i == digits.size() - 1;
        const QColor face = tenth ? QColor(0xd6, 0x3a, 0x2f) : QColor(0xf4, 0xf4, 0xf0);
        shade.setColorAt(0, face.darker(160));
        shade.setColorAt(0.5, face);
        shade.setColorAt(1, face.darker(160));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawRect(drum);
        painter.setPen(tenth ? Qt::white : QColor(0x1a, 0x1a, 0x1a));
        painter.drawText(drum, Qt::AlignCenter, digits.mid(i, 1));
    }
    QFont unitFont(QStringLiteral("DejaVu Sans"));
    unitFont.setPixelSize(int(box.height() * 0.36));
    unitFont.setBold(true);
    painter.setFont(unitFont);
    painter.setPen(QColor(0xf0, 0xf0, 0xf0));
    painter.drawText(QRectF(box.right() - margin - unitWidth, box.top(), unitWidth, box.height()),
                     Qt::AlignCenter, QStringLiteral("km"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("about.jpg");

    QImage image(280, 150, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLandscape(painter, image.rect());
    drawOdometer(painter, QRectF(56, 104, 168, 36));
    painter.end();
    return image.save(out, "JPEG", 88) ? 0 : 1;
}
