#pragma once

#include "entry_log.h"
#include "master_data.h"
#include "print_font.h"
#include "print_settings.h"
#include "row_table.h"

#include <vector>

namespace fb {

// The six parts of a logbook document and its entry log: everything one ".fbu" file holds.
struct Logbook {
    explicit Logbook(int fontPixelsPerInch = PrintFont::kStandardPixelsPerInch)
        : headingFont(PrintFont::defaultHeadingFont(fontPixelsPerInch)),
          textFont(PrintFont::defaultTextFont(fontPixelsPerInch))
    {}

    RowTable trips;
    RowTable templates;
    MasterData master;
    PrintSettings print;
    PrintFont headingFont;
    PrintFont textFont;
    // When the trips were entered and deleted; follows the trip table's rows.
    EntryLog entryLog;

    // What the last odometer pass worked out, so that the next starts at the first trip
    // changed since: the start reading it began with and the reading after each row.
    struct OdometerChain {
        double start = 0;
        std::vector<double> ends;
    } odometer;

    // Takes every part of source; the tables stay the same objects, so that what watches
    // them sees the new rows.
    void assign(const Logbook &source)
    {
        trips.assign(source.trips.rows());
        templates.assign(source.templates.rows());
        master = source.master;
        print = source.print;
        headingFont = source.headingFont;
        textFont = source.textFont;
        entryLog = source.entryLog;
    }
};

} // namespace fb
