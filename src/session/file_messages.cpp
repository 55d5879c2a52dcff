#include "session/file_messages.h"

#include "core/file_error.h"
#include "storage/recovery_journal.h"

#include <QFileInfo>

#include <cerrno>

namespace fb {
namespace {

QString withReason(const QString &sentence, const QString &path, const Error &error)
{
    const auto *fileError = dynamic_cast<const FileError *>(&error);
    return sentence.arg(QFileInfo(path).fileName(),
                        fileError ? germanFileErrorReason(fileError->errorNumber())
                                  : error.message());
}

} // namespace

QString germanFileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case FileError::kEndOfFile:
        return QStringLiteral("Lesen über das Dateiende hinaus");
    case FileError::kNotRegularFile:
        return QStringLiteral("keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe)");
    case ENOENT:
        return QStringLiteral("Datei nicht gefunden");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return QStringLiteral("Ungültiger Dateiname");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele geöffnete Dateien");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return QStringLiteral("Zugriff verweigert");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Datenträger voll");
    case EFBIG:
        return QStringLiteral("Datei zu groß");
    default:
        return QStringLiteral("Ein-/Ausgabefehler %1").arg(errorNumber);
    }
}

QString cannotOpenMessage(const QString &path, const Error &error)
{
    return withReason(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2"), path,
                      error);
}

QString cannotSaveMessage(const QString &path, const Error &error)
{
    return withReason(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden: %2"), path,
                      error);
}

QString commandErrorMessage(const Error &error)
{
    if (const auto *journal = dynamic_cast<const JournalWriteFailed *>(&error))
        return QStringLiteral("Die Änderung ist übernommen, kann aber nicht für den Fall eines "
                              "Absturzes gesichert werden (%1). Bitte speichern Sie das "
                              "Fahrtenbuch.")
            .arg(germanFileErrorReason(journal->errorNumber()));
    return error.message();
}

} // namespace fb
