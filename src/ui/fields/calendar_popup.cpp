#include "calendar_popup.h"

#include <QCalendarWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace fb {

CalendarPopup::CalendarPopup(QWidget *field)
    : QFrame(field, Qt::Popup), m_field(field), m_calendar(new QCalendarWidget(this))
{
    setObjectName(field->objectName() + QStringLiteral("Calendar"));
    setFrameShape(QFrame::StyledPanel);
    // Day and month names in German and weeks from Monday, whatever the system says.
    m_calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setMinimumDate(QDate(1, 1, 1));
    m_calendar->setMaximumDate(QDate(9999, 12, 31));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_calendar);
    const auto pick = [this](const QDate &date) {
        hide();
        Q_EMIT picked(date);
    };
    connect(m_calendar, &QCalendarWidget::clicked, this, pick);
    connect(m_calendar, &QCalendarWidget::activated, this, pick);
}

void CalendarPopup::showFor(const QDate &date)
{
    m_calendar->setSelectedDate(date);
    adjustSize();
    // Below the field, or above it where the screen ends.
    QRect frame(m_field->mapToGlobal(QPoint(0, m_field->height())), sizeHint());
    if (const QScreen *screen = m_field->screen()) {
        const QRect available = screen->availableGeometry();
        if (frame.bottom() > available.bottom())
            frame.moveBottom(m_field->mapToGlobal(QPoint(0, 0)).y() - 1);
        if (frame.right() > available.right())
            frame.moveRight(available.right());
        frame.moveLeft(std::max(frame.left(), available.left()));
    }
    move(frame.topLeft());
    show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

} // namespace fb
