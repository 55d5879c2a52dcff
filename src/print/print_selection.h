#pragma once

#include "model/print_settings.h"
#include "model/row.h"

namespace fb {

// Which trips the printed table shows and its evaluation counts: those whose days overlap
// the chosen date range (both bounds included) and whose kind is switched on. Deleted trips
// are not excluded here.
class PrintSelection {
public:
    explicit PrintSelection(const PrintSettings &settings);

    // Throws ConversionError when the date range is used and a trip's departure or arrival
    // text is not a date and time.
    bool selects(const Row &trip) const;

private:
    const PrintSettings &m_settings;
    double m_fromDay;
    double m_toDay;
};

} // namespace fb
