#pragma once

#include "core/file_error.h" // germanFileErrorReason, for the window's messages

#include <QString>

namespace fb {

class Error;

// The questions before an unsaved logbook is left: for opening another or closing, and for
// starting a new one (worded a little differently, as they always were).
inline const QString kNotSavedQuestion =
    QStringLiteral("Die Datei wurde noch nicht gespeichert. Wollen Sie jetzt speichern?");
inline const QString kNotSavedBeforeNewQuestion =
    QStringLiteral("Die Datei ist noch nicht gespeichert. Wollen Sie jetzt speichern?");

// "Die Datei "name" kann nicht geöffnet werden: <reason>", for a FileError, and the
// error's own message for any other error.
QString cannotOpenMessage(const QString &path, const Error &error);
// "Die Datei "name" kann nicht gespeichert werden: <reason>", the same way.
QString cannotSaveMessage(const QString &path, const Error &error);

// The message for an error that ends a window command: the German one where the error is the
// recovery journal's, else the error's own.
QString commandErrorMessage(const Error &error);

} // namespace fb
