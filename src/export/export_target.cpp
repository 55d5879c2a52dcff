#include "export_target.h"

#include "core/error.h"
#include "core/write_target.h"

namespace fb {

void refuseExportOntoLogbook(const QString &target, const QString &logbookFileName)
{
    if (!logbookFileName.isEmpty() && isSameFile(target, logbookFileName)) {
        throw Error(QStringLiteral("Der Export würde das Fahrtenbuch selbst überschreiben. "
                                   "Bitte eine andere Datei wählen."));
    }
}

} // namespace fb
