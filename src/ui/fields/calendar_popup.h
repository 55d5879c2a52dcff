#pragma once

#include <QDate>
#include <QFrame>

class QCalendarWidget;

namespace fb {

// The calendar that drops down below a date field; a click or Enter on a day picks it, Escape
// or a click elsewhere closes it without a change.
class CalendarPopup : public QFrame {
    Q_OBJECT
public:
    explicit CalendarPopup(QWidget *field);

    void showFor(const QDate &date);

Q_SIGNALS:
    void picked(const QDate &date);

private:
    QWidget *m_field;
    QCalendarWidget *m_calendar;
};

} // namespace fb
