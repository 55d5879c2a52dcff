#include "file_error.h"

#include <array>
#include <cerrno>
#include <initializer_list>

namespace fb {
namespace {

// The error numbers a user meets with files, each with the command line's English and the
// window's German wording; several numbers share a wording where the user's remedy is one.
struct FileErrorWording {
    std::initializer_list<int> errorNumbers;
    const char16_t *english;
    const char16_t *german;
};

const std::array kWordings{
    FileErrorWording{
        {FileError::kEndOfFile}, u"Read beyond end of file", u"Lesen über das Dateiende hinaus"},
    FileErrorWording{{FileError::kNotRegularFile},
                     u"Keine gewöhnliche Datei: Ordner, Geräte und Pipes lassen sich nicht "
                     u"öffnen.",
                     u"keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe)"},
    FileErrorWording{{ENOENT}, u"File not found", u"Datei nicht gefunden"},
    FileErrorWording{{ENOTDIR, ENAMETOOLONG, EINVAL}, u"Invalid filename", u"Ungültiger Dateiname"},
    FileErrorWording{{EMFILE, ENFILE}, u"Too many open files", u"Zu viele geöffnete Dateien"},
    FileErrorWording{{EACCES, EPERM, EROFS, EISDIR}, u"File access denied", u"Zugriff verweigert"},
    FileErrorWording{{ENOSPC, EDQUOT}, u"Disk full", u"Datenträger voll"},
    FileErrorWording{{EFBIG}, u"File too large", u"Datei zu groß"},
};

const FileErrorWording *wordingOf(int errorNumber)
{
    for (const FileErrorWording &wording : kWordings) {
        for (const int number : wording.errorNumbers) {
            if (number == errorNumber)
                return &wording;
        }
    }
    return nullptr;
}

} // namespace

FileError::FileError(int errorNumber)
    : Error(ioErrorMessage(errorNumber)), m_errorNumber(errorNumber)
{}

QString ioErrorMessage(int errorNumber)
{
    if (const FileErrorWording *wording = wordingOf(errorNumber))
        return QString::fromUtf16(wording->english);
    return QStringLiteral("I/O error %1").arg(errorNumber);
}

QString germanFileErrorReason(int errorNumber)
{
    if (const FileErrorWording *wording = wordingOf(errorNumber))
        return QString::fromUtf16(wording->german);
    return QStringLiteral("Ein-/Ausgabefehler %1").arg(errorNumber);
}

QString notARegularFileMessage()
{
    return ioErrorMessage(FileError::kNotRegularFile);
}

} // namespace fb
