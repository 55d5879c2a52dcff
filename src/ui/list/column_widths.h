#pragma once

#include <span>

class QTableView;

namespace fb {

// Keeps a list's columns wide enough to show what they hold: each at least as wide as designed
// and as its title, and the columns of short values (moments, numbers, the kind) as wide as the
// values of the rows, checked again whenever the rows change. Columns of free text (places,
// purpose) stay at their designed width and show a long text cut off. Call once the view has
// its model; the widths only grow while the rows change, and fit afresh when the model resets.
void fitColumns(QTableView &view, std::span<const int> designedWidths,
                std::span<const int> shortValueColumns);

} // namespace fb
