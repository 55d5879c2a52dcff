#pragma once

#include <QStringList>

namespace fb {

struct Row;
class RowTable;

// How many business and private trips a logbook holds and how far each kind was driven.
struct Evaluation {
    qint32 businessCount = 0;
    qint32 privateCount = 0;
    double businessKm = 0;
    double privateKm = 0;

    // Counts a trip that is not deleted with the given distance into its kind.
    void add(const Row &trip, double distance);
};

// The evaluation of the whole trip table: deleted trips are skipped, every other trip counts
// as business ("Geschäftlich" exactly) or private. A distance that does not parse throws
// ConversionError.
Evaluation evaluateTrips(const RowTable &trips);

// The seven lines the evaluation window shows: three counts, an empty line, three kilometre
// figures with two decimals.
QStringList evaluationLines(const Evaluation &evaluation);

// The six lines of the printed evaluation: no empty line, kilometres with one decimal.
QStringList printedEvaluationLines(const Evaluation &evaluation);

// A kilometre figure in fixed-point form with the given number of decimals, decimal comma,
// no grouping; rounded to 15 significant digits first.
QString formatKilometres(double value, int decimals);

} // namespace fb
