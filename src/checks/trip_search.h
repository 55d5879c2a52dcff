#pragma once

#include "model/row_table.h"

#include <QString>

namespace fb {

// The next trip after the row `after` (from the top for -1), going round to the top at the
// end, whose departure or arrival moment, places, purpose or kind contains the text, case
// ignored; deleted trips count, as the list shows them. -1 when none does, or the text is
// empty. The row `after` itself is tried last.
qsizetype findTrip(const RowTable &trips, const QString &text, qsizetype after);

} // namespace fb
