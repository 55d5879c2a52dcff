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

    // Takes every part of source as assign() does, without copying its rows or its log, and
    // the odometer pass source has had. The fonts keep this logbook's pixels per inch: the
    // sizes are in points.
    void take(Logbook &&source)
    {
        trips.assign(source.trips.takeRows());
        templates.assign(source.templates.takeRows());
        master = std::move(source.master);
        print = std::move(source.print);
        headingFont = source.headingFont.atPixelsPerInch(headingFont.pixelsPerInch);
        textFont = source.textFont.atPixelsPerInch(textFont.pixelsPerInch);
        entryLog = std::move(source.entryLog);
        odometer = std::move(source.odometer);
        trips.forgetTouchedRows();
    }
};

} // namespace fb
