#pragma once

#include "model/logbook.h"

#include <QString>

namespace fb {

// Prints the logbook, as its print settings and fonts say, into a PDF file: A4 portrait at
// 600 pixels per inch. The file appears only complete: the pages go into a temporary file
// beside it, which replaces the target when the job has ended. Throws FileError when the
// target may not be written or the file cannot be completed, ConversionError for a text
// that does not convert; the target is untouched then. Needs a QGuiApplication.
void printLogbookToPdf(const Logbook &logbook, const QString &fileName);

} // namespace fb
