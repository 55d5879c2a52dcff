#pragma once

#include "model/logbook.h"
#include "page_canvas.h"

#include <QStringList>

namespace fb {

// Prints the logbook as one job on the canvas: page headers with the page number, the
// heading, the date range, the master data, the trip table and the evaluation, as the
// logbook's print settings and fonts say. A font size that cannot be printed and a conversion
// error (a distance or, where needed, a date that does not parse) are thrown before the job
// begins; an Error of the canvas during the job aborts it and is thrown on.
void printLogbook(const Logbook &logbook, PageCanvas &canvas);

// The font sizes that print: what the font dialog offers.
inline constexpr int kSmallestFontPoints = 1;
inline constexpr int kLargestFontPoints = 512;

// Throws Error naming the font ("Überschrift" or "Text") whose size is outside the sizes that
// print.
void checkPrintFonts(const Logbook &logbook);

// The lines of a purpose text: CR LF, a lone CR and a lone LF each end a line; a break at
// the very end adds no empty line, an empty text has no lines.
QStringList purposeLines(const QString &purpose);

// Device pixels for a length in millimetres, truncated, with 25.39995 millimetres per inch.
int millimetresToPixels(double millimetres, int pixelsPerInch);

} // namespace fb
