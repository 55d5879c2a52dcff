#pragma once

#include "core/error.h"

namespace fb {

// An input/output error while a logbook file is read or written.
class FileError : public Error {
public:
    using Error::Error;
};

// The message for a system error number: "File not found", "File access denied",
// "Disk full", "File too large", ... or "I/O error <number>".
QString ioErrorMessage(int errorNumber);

// The message for a read that found fewer bytes than it needed.
QString readBeyondEndMessage();

// The message for a path to open that names a directory, a device or a pipe.
QString notARegularFileMessage();

} // namespace fb
