#pragma once

#include "logbook.h"

namespace fb {

// The odometer readings are never typed: they follow from the master data's start reading
// and the distances of the live trips, in table order (not in the order of departure).

// Pads every trip to nine sub-items and rewrites "KM Start" and "KM Ende" of every row.
// A distance that does not parse throws ConversionError at that row: the rows above carry
// their new readings, that row its new start and old end reading, the rows below their old
// readings.
void UpdateKMSTands(Logbook &logbook);

// The reading after the last live trip; throws like UpdateKMSTands. A query: no row is
// touched, so that the views of the table are not told of a change that did not happen.
double getlastkm(const Logbook &logbook);

} // namespace fb
