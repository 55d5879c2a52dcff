#pragma once

#include "model/row_table.h"

#include <QString>

namespace fb::test {

// Changes one text of a row as the program changes rows: the row is replaced whole, which
// announces the change to a list that shows the table. A row with fewer sub-items is padded.
inline void replaceSubItem(RowTable &table, qsizetype row, qsizetype subItem, const QString &text)
{
    Row changed = table.at(row);
    changed.padSubItems(subItem + 1);
    changed.subItems[subItem] = text;
    table.replace(row, std::move(changed));
}

} // namespace fb::test
