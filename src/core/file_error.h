#pragma once

#include "error.h"

namespace fb {

// An input/output error while a file is opened, read or written. It carries the system's
// error number (errno), or one of the program's own numbers below for failures the system
// does not number; the message is made from the number, so every reader of the error (the
// command line in English, the window in German) words it by the same rule.
class FileError : public Error {
public:
    // The file ended before everything was read.
    static constexpr int kEndOfFile = -1;
    // The path names a directory, a device or a pipe.
    static constexpr int kNotRegularFile = -2;

    explicit FileError(int errorNumber);

    int errorNumber() const noexcept { return m_errorNumber; }

private:
    int m_errorNumber;
};

// The message for an error number: "File not found", "File access denied", "Disk full",
// "File too large", "Read beyond end of file", ... or "I/O error <number>".
QString ioErrorMessage(int errorNumber);

// The window's German words for the same numbers: "Zugriff verweigert", "Datei nicht
// gefunden", "Datenträger voll", ... or "Ein-/Ausgabefehler <number>".
QString germanFileErrorReason(int errorNumber);

// The message for a path to open that names a directory, a device or a pipe.
QString notARegularFileMessage();

} // namespace fb
