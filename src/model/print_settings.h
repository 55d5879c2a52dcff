#pragma once

#include "core/ole_date.h"

#include <QDateTime>
#include <QString>

namespace fb {

// What the printed logbook contains. All but printTimes are stored in the logbook file.
struct PrintSettings {
    // The two radio buttons "Alle Fahrten drucken" / "Fahrten von-bis drucken": one choice.
    bool printDateRange = false;
    double rangeFrom = toOleDate(QDateTime::currentDateTime());
    double rangeTo = rangeFrom;
    bool printMasterData = true;
    bool printPrivateTrips = true;
    bool printBusinessTrips = true;
    QString heading = QStringLiteral("Fahrtenbuch");
    bool printEvaluation = true;
    bool printFinalOdometer = true;
    // "Zeit ausdrucken": lasts for the run of the program, not part of the file.
    bool printTimes = true;

    bool printAllTrips() const { return !printDateRange; }

    friend bool operator==(const PrintSettings &, const PrintSettings &) = default;
};

} // namespace fb
