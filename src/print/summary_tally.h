#pragma once

#include "checks/evaluation.h"
#include "model/master_data.h"
#include "model/row.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace fb {

// What the summary page of a printout sums up: the live trips the printout shows, a line for
// each calendar month of their departures, and the readings before the first and after the
// last of them. The tax advisor signs it.
class SummaryTally {
public:
    // A live trip that the printout shows, with its distance and the readings around it.
    void add(const Row &trip, double distance, double readingBefore, double readingAfter);

    // "K-AB 123", the keeper ("Firma" or first and last name), "02.11.2026 bis 30.11.2026",
    // the readings: the lines above the table.
    QStringList headLines(const MasterData &master, double startReading) const;

    struct Line {
        QString label;       // "November 2026", "Summe"
        QStringList figures; // trips, business km, private km, total km, private share
    };
    // A line per month in the order of time, then the total. A trip whose departure is no
    // moment counts in the total only.
    QList<Line> tableLines() const;

    static QStringList tableTitles();

private:
    static QStringList figuresOf(const Evaluation &evaluation);

    std::map<int, Evaluation> m_months; // by year * 12 + month - 1
    Evaluation m_total;
    std::optional<QDate> m_first;
    std::optional<QDate> m_last;
    std::optional<double> m_startReading;
    double m_endReading = 0;
};

} // namespace fb
