#pragma once

#include "moment_field.h"

#include <QDate>

class QStyleOptionComboBox;

namespace fb {

class CalendarPopup;

// A date as dd.MM.yyyy, with a calendar that drops down from its arrow (or with F4 or
// Alt+Down). Typed forms: "5.10.26", "05.10.2026", "051026", "05102026".
class DateField : public MomentField {
    Q_OBJECT
public:
    explicit DateField(QWidget *parent = nullptr);

    // The date the text stands for, or the last committed one while it stands for none.
    QDate date() const;
    // Shows the date in the field's own form; a date outside the years 1 to 9999 shows the
    // nearer end of that range, an invalid date changes nothing.
    void setDate(const QDate &date);

    QString invalidInputMessage() const override;
    QSize sizeHint() const override;

protected:
    bool reads(const QString &text) const override;
    bool adopt(const QString &text) override;
    QString steppedText(int section, int steps) const override;
    QString formattedValue() const override;
    bool isSeparator(QChar c) const override { return c == QLatin1Char('.'); }
    int longestText() const override { return 10; }
    QString widestText() const override { return QStringLiteral("00.00.0000"); }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QStyleOptionComboBox comboOption() const;
    // The line edit stands left of the arrow, as in a drop-down list.
    void placeEditField();
    void showCalendar();

    QDate m_date{2000, 1, 1};
    CalendarPopup *m_calendar = nullptr;
};

} // namespace fb
