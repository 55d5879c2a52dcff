#include "audit_export_command.h"

#include "export/audit_export.h"
#include "storage/logbook_document.h"
#include "wait_cursor.h"

namespace fb {

void AuditExportCommand::run(QWidget *parent, Prompts &prompts, const LogbookDocument &document)
{
    const QString folder = prompts.folderName(
        parent, QStringLiteral("Ordner für die Betriebsprüfung wählen"), m_lastFolder);
    if (folder.isEmpty())
        return;
    m_lastFolder = folder;
    const WaitCursor waiting;
    exportAuditData(document.logbook(), folder);
}

} // namespace fb
