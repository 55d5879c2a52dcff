#pragma once

#include "prompts.h"

#include <QString>

class QWidget;

namespace fb {

class LogbookDocument;

// The spreadsheet files of the export: the description reads "(*-xls)" while the files it
// shows are "*.xls"; the dialog hides the patterns so only the description shows.
FileKind spreadsheetFiles();

// The export of the trip list from the window, with its own save dialog state: the folder and
// the name chosen last are offered again next time.
class TripExportCommand {
public:
    // Asks for the target and writes the live trips of the document there, the way the
    // command line's --export-xls does. A cancelled dialog creates nothing. Errors (a target
    // that cannot be written, too many trips, the logbook's own file) are raised as Error for
    // the general error display; the document is only read.
    void run(QWidget *parent, Prompts &prompts, const LogbookDocument &document);

private:
    QString m_lastPath;
};

} // namespace fb
