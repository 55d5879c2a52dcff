#include "logbook_document.h"

#include "core/write_target.h"
#include "file_error.h"
#include "logbook_format.h"
#include "odometer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {

LogbookDocument::LogbookDocument(int fontPixelsPerInch, QObject *parent)
    : QObject(parent), m_logbook(fontPixelsPerInch)
{}

void LogbookDocument::SetChanged()
{
    m_changed = true;
    Q_EMIT captionChanged();
}

void LogbookDocument::SetUnChanged()
{
    m_changed = false;
    Q_EMIT captionChanged();
}

void LogbookDocument::NewAll()
{
    m_logbook.trips.clear();
    m_logbook.templates.clear();
    m_fileName.clear();
    SetUnChanged();
}

bool LogbookDocument::SaveTheFile(QString *whyNot)
{
    const auto refuse = [whyNot](const QString &reason) {
        if (whyNot)
            *whyNot = reason;
        return false;
    };
    if (m_fileName.isEmpty())
        return refuse(ioErrorMessage(ENOENT));
    if (const int refusal = writeTargetRefusal(m_fileName))
        return refuse(ioErrorMessage(refusal));

    QSaveFile file(m_fileName);
    errno = 0;
    // Unbuffered, so that every write reaches the system and its failure is seen by the
    // writer: commit() does not report a failed flush of the device's own buffer, and would
    // put a cut-short file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return refuse(ioErrorMessage(errno != 0 ? errno : EACCES));
    // Until commit() the old file is untouched; an exception discards the new one.
    writeLogbook(file, m_logbook);
    // Some file systems report a failed write only when the data goes to the disk; commit()
    // syncs too, but does not say whether that worked.
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        throw FileError(ioErrorMessage(errno));
    errno = 0;
    if (!file.commit()) {
        const int errorNumber = errno;
        throw FileError(ioErrorMessage(errorNumber != 0 ? errorNumber : ENOSPC));
    }
    SetUnChanged();
    return true;
}

bool LogbookDocument::OpenFileWithName(const QString &path, QString *whyNot)
{
    NewAll();
    m_fileName = path;
    // A directory, a device or a pipe would be read as an empty file, without end, or not at
    // all while nobody writes to it, and some devices act on being opened: such a path is
    // refused before it is opened, and once more after, should one have been put there since.
    const auto refuseNonRegular = [this] {
        m_fileName.clear();
        throw FileError(notARegularFileMessage());
    };
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status {};
    if (::stat(nativePath.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        refuseNonRegular();
    // Opened without waiting, so that a pipe cannot hold the program here.
    const int handle = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0) {
        const int errorNumber = errno;
        if (whyNot)
            *whyNot = ioErrorMessage(errorNumber != 0 ? errorNumber : EACCES);
        return false;
    }
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        if (whyNot)
            *whyNot = ioErrorMessage(EACCES);
        return false;
    }
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode))
        refuseNonRegular();
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    try {
        readLogbook(file, m_logbook);
    } catch (const FileError &) {
        m_fileName.clear();
        throw;
    }
    file.close();
    UpdateKMSTands(m_logbook);
    SetUnChanged();
    return true;
}

QString LogbookDocument::caption(const QString &baseCaption) const
{
    const QString name =
        m_fileName.isEmpty() ? QStringLiteral("unbenannt.fbu") : QFileInfo(m_fileName).fileName();
    return QStringLiteral("%1 - [%2%3]")
        .arg(baseCaption, name, m_changed ? QStringLiteral("*") : QString());
}

} // namespace fb
