#include "file_error.h"

#include <cerrno>

namespace fb {

FileError::FileError(int errorNumber)
    : Error(ioErrorMessage(errorNumber)), m_errorNumber(errorNumber)
{}

QString ioErrorMessage(int errorNumber)
{
    switch (errorNumber) {
    case FileError::kEndOfFile:
        return QStringLiteral("Read beyond end of file");
    case FileError::kNotRegularFile:
        return QStringLiteral("Keine gewöhnliche Datei: Ordner, Geräte und Pipes lassen sich "
                              "nicht öffnen.");
    case ENOENT:
        return QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Disk full");
    case EFBIG:
        return QStringLiteral("File too large");
    default:
        return QStringLiteral("I/O error %1").arg(errorNumber);
    }
}

QString notARegularFileMessage()
{
    return ioErrorMessage(FileError::kNotRegularFile);
}

} // namespace fb
