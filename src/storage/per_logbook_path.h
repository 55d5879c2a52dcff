#pragma once

#include <QString>

namespace fb {

// Where a folder keeps something for one logbook file: named by the file's own path, so a
// logbook always finds what was kept for it, with its name first for whoever looks into the
// folder: "<name>-<16 hex digits><suffix>".
QString perLogbookPath(const QString &folder, const QString &logbookPath, const QString &suffix);

} // namespace fb
