#pragma once

#include "font_spec.h"
#include "master_data.h"
#include "print_settings.h"
#include "row_table.h"

namespace fb {

// The six parts of a logbook document: everything one ".fbu" file holds. Dialogs show and
// edit these values in place.
struct Logbook {
    explicit Logbook(int fontPixelsPerInch = FontSpec::kStandardPixelsPerInch)
        : headingFont(FontSpec::defaultHeadingFont(fontPixelsPerInch)),
          textFont(FontSpec::defaultTextFont(fontPixelsPerInch))
    {}

    RowTable trips;
    RowTable templates;
    MasterData master;
    PrintSettings print;
    FontSpec headingFont;
    FontSpec textFont;
};

} // namespace fb
