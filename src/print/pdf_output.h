#pragma once

#include "model/logbook.h"

#include <QPageLayout>
#include <QString>

class QPrinter;

namespace fb {

// The paper of a PDF file and the device pixels per inch its pages are laid out in.
struct PdfPages {
    QPageLayout layout;
    int resolution = 0;
};

// A4 portrait at 600 pixels per inch, with the margins Qt's printers have.
PdfPages a4Pages();
// The paper, orientation, margins and resolution the printer set-up chose.
PdfPages pagesOf(const QPrinter &printer);

// Prints the logbook, as its print settings and fonts say, into a PDF file; nothing reaches a
// printer. The file appears only complete: the pages go into a temporary file beside it (or
// beside the file a symbolic link points to), which replaces the target once the job has
// ended, every byte is written and the file is on the disk. The target may not be the
// logbook's own file (logbookFileName, empty for an untitled logbook). Throws FileError when
// the target may not be written or the file cannot be completed, Error for the logbook's own
// file, ConversionError for a text that does not convert; the target is untouched then.
// Needs a QGuiApplication.
void printLogbookToPdf(const Logbook &logbook, const QString &fileName,
                       const QString &logbookFileName, const PdfPages &pages = a4Pages());

} // namespace fb
