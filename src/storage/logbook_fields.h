#pragma once

#include "binary_stream.h"
#include "model/master_data.h"
#include "model/print_font.h"
#include "model/print_settings.h"
#include "model/row.h"

namespace fb {

// The parts of a logbook in the byte forms of the ".fbu" file, for the file itself and for
// whatever else stores parts of a logbook (the recovery journal). Readers work in place and
// field by field: when the bytes end early they throw FileError, and what was read so far
// stays.

// A row: its sub-item count, its caption and its sub-items.
void writeRow(BinaryWriter &out, const Row &row);
void readRowInto(BinaryReader &in, Row &row);

// Ten texts, the start reading and the two registration dates.
void writeMasterData(BinaryWriter &out, const MasterData &master);
void readMasterData(BinaryReader &in, MasterData &master);

// Everything but "Zeit ausdrucken", which lasts only for the run of the program.
void writePrintSettings(BinaryWriter &out, const PrintSettings &print);
void readPrintSettings(BinaryReader &in, PrintSettings &print);

// A font record. A record cut short leaves the font as it was; the font keeps its own
// pixels per inch and takes the stored size in points.
void writeFont(BinaryWriter &out, const PrintFont &font);
void readFont(BinaryReader &in, PrintFont &font);

} // namespace fb
