#pragma once

#include "model/row_table.h"

#include <QString>

namespace fb {

// The live trips at a glance: "35 Fahrten · 515,1 km · 92,1 % geschäftlich", the kilometres
// with one decimal as the printed evaluation shows them, and the business share of those
// kilometres. A distance that does not read counts 0 km here: the line must never fail.
QString tripTotalsText(const RowTable &trips);

} // namespace fb
