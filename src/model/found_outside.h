#pragma once

#include "entry_log.h"

#include <vector>

namespace fb {

// Which events are master data values a load found changed outside the program: they follow
// the finding at its moment, so that the log expects the values as found from then on. One
// flag per event, in log order.
std::vector<bool> valuesFoundOutside(const EntryLog &log);

} // namespace fb
