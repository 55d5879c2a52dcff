#pragma once

#include "logbook.h"

#include <QJsonObject>

namespace fb {

// The whole logbook as JSON with readable field names (the shape is documented in the
// README): for looking into a file and for comparing documents in scripts.
QJsonObject logbookToJson(const Logbook &logbook);

} // namespace fb
