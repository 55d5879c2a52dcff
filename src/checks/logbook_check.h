#pragma once

#include "model/logbook.h"
#include "plausibility.h"

#include <vector>

namespace fb {

// Compares each odometer reading of the entry log, in log order, with the reading the logbook
// gives at that moment: the "KM Ende" of the last live trip in list order that arrives at or
// before it, or the start reading. A difference of more than 1 km (rounded to 0,1 km first) is
// a finding with row -1: "Kilometerstand 48950 abgelesen, das Fahrtenbuch ergibt 48927: 23 km
// fehlen." or "… km zu viel.". A reading whose moment is none, and a reading behind a live
// trip whose distance is no number, are not compared: the trips' check names that distance.
std::vector<Finding> checkOdometerReadings(const Logbook &logbook);

// The whole check of the window and the command line: the trips, then the readings.
std::vector<Finding> checkLogbook(const Logbook &logbook);

} // namespace fb
