#pragma once

#include "moment_field.h"

#include <QTime>

namespace fb {

// A time of day as HH:mm:ss, with spin buttons. Typed forms: "8:15", "08:15", "8:15:30",
// "0815"; a time typed without seconds has none.
class TimeField : public MomentField {
    Q_OBJECT
public:
    explicit TimeField(QWidget *parent = nullptr);

    // The time the text stands for, or the last committed one while it stands for none; to
    // the second.
    QTime time() const;
    void setTime(const QTime &time);

    QString invalidInputMessage() const override;

protected:
    bool reads(const QString &text) const override;
    bool adopt(const QString &text) override;
    QString steppedText(int section, int steps) const override;
    QString formattedValue() const override;
    bool isSeparator(QChar c) const override { return c == QLatin1Char(':'); }
    int longestText() const override { return 8; }
    QString widestText() const override { return QStringLiteral("00:00:00"); }

private:
    QTime m_time{0, 0};
};

} // namespace fb
