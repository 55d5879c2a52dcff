#include "export_command.h"

#include "export/export_target.h"
#include "export/trip_export.h"
#include "storage/logbook_document.h"
#include "wait_cursor.h"

namespace fb {

FileKind spreadsheetFiles()
{
    FileKind files{QStringLiteral("Excel Dateien (*-xls) (*.xls)"), QStringLiteral("xls")};
    files.hidePatterns = true;
    return files;
}

void TripExportCommand::run(QWidget *parent, Prompts &prompts, const LogbookDocument &document)
{
    FileKind files = spreadsheetFiles();
    files.startPath = m_lastPath;
    const QString target = prompts.saveFileName(parent, files);
    if (target.isEmpty())
        return;
    m_lastPath = target;
    refuseExportOntoLogbook(target, document.fileName());
    const WaitCursor waiting;
    exportTripsToXls(document.logbook().trips, target);
}

} // namespace fb
