#pragma once

#include "model/logbook_operation.h"

#include <QByteArray>

namespace fb {

// An operation as bytes, for whatever keeps operations beyond the run of the program (the
// recovery journal): the moment in milliseconds since 1970 (UTC), a type byte, then the
// operation's values, with rows, master data, print settings and fonts in the forms of the
// logbook file. Decoding gives back an equal operation.
QByteArray encodeOperation(const TimedOperation &operation);

// Throws OperationError for bytes that are no operation: an unknown type, a value cut short,
// bytes left over.
TimedOperation decodeOperation(const QByteArray &bytes);

} // namespace fb
