#pragma once

#include "entry_log_trailer.h"
#include "model/logbook.h"

#include <QString>

namespace fb {

// What a load found against what this machine remembers of the file.
enum class RememberedLog {
    Continued,   // nothing remembered, or the log goes on from what was remembered
    Vanished,    // the program wrote a log into the file, and the file has none now
    NotContinued // the file's log is not the one the program last wrote, nor an earlier state
};

// One text for everything a load found: what does not match, naming the trips concerned by
// their number in the list (counting from 1), a trip no longer in the file by the moment it was
// entered; empty when nothing was found.
QString outsideChangeText(const EntryLogFindings &findings, RememberedLog remembered,
                          const Logbook &logbook);

} // namespace fb
