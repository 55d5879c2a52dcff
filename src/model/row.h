#pragma once

#include <QString>
#include <QStringList>

namespace fb {

// One row of the trip or template table: a caption (the first column) and any number of
// sub-items, all texts. Rows keep as many sub-items as they were given: a row read from a
// file with eleven sub-items is written back with eleven.
struct Row {
    QString caption;
    QStringList subItems;

    // A missing sub-item reads as the empty text.
    QString subItem(qsizetype index) const
    {
        return index < subItems.size() ? subItems.at(index) : QString();
    }

    // Appends empty sub-items until the row has at least count of them.
    void padSubItems(qsizetype count)
    {
        if (subItems.size() < count)
            subItems.resize(count);
    }

    friend bool operator==(const Row &, const Row &) = default;
};

} // namespace fb
