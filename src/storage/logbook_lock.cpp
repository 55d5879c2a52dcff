#include "logbook_lock.h"

#include "core/file_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {
namespace {

// What QLockFile writes (process number, program, computer) takes a few dozen bytes; a larger
// file under the lock's name is none of its, and reading it whole could exhaust the memory.
constexpr qint64 kLargestLockFile = 4096;

// The file itself where the path is a symbolic link, so that every such name of one file
// finds the same lock file; the path as it is while no file is there yet.
QFileInfo resolved(const QString &logbookPath)
{
    const QFileInfo info(logbookPath);
    const QString canonical = info.canonicalFilePath();
    return QFileInfo(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

} // namespace

QString LogbookLock::lockPathFor(const QString &logbookPath)
{
    const QFileInfo file = resolved(logbookPath);
    return file.absoluteDir().filePath(QStringLiteral(".%1.lock").arg(file.fileName()));
}

LogbookLock::LogbookLock(const QString &logbookPath)
    : m_filePath(logbookPath), m_lock(lockPathFor(logbookPath))
{
    // A folder, a link, a pipe or a large file under the lock's name is no lock file of a
    // window: none can be made there, and reading that one could wait or grow for ever.
    struct stat status {};
    if (::lstat(QFile::encodeName(lockPathFor(logbookPath)).constData(), &status) == 0 &&
        (!S_ISREG(status.st_mode) || status.st_size > kLargestLockFile)) {
        m_errorNumber = S_ISDIR(status.st_mode)   ? EISDIR
                        : S_ISREG(status.st_mode) ? EFBIG
                                                  : FileError::kNotRegularFile;
        return;
    }
    // A window may keep a logbook open for days: only a holder that has ended makes a lock
    // stale, never its age.
    m_lock.setStaleLockTime(0);
    // Whatever errno says after a failure is the lock file's, not an earlier call's.
    errno = 0;
    if (m_lock.tryLock(0)) {
        if (lockFileItself()) {
            m_state = State::Held;
            return;
        }
        // Another window holds the same file under another name.
        m_lock.unlock();
        m_state = State::HeldElsewhere;
        return;
    }
    switch (m_lock.error()) {
    case QLockFile::LockFailedError: {
        QString application;
        m_state = State::HeldElsewhere;
        if (!m_lock.getLockInfo(&m_holderPid, &m_holderHost, &application)) {
            m_holderPid = 0;
            m_holderHost.clear();
        }
        return;
    }
    default:
        m_errorNumber = lockFileErrorNumber(m_lock, errno);
        break;
    }
    m_state = State::Unavailable;
}

int lockFileErrorNumber(const QLockFile &lock, int errorNumber)
{
    switch (lock.error()) {
    case QLockFile::PermissionError:
        return EACCES;
    case QLockFile::LockFailedError:
        return EBUSY;
    default:
        return errorNumber != 0 ? errorNumber : EIO;
    }
}

LogbookLock::~LogbookLock()
{
    releaseFileItself();
}

void LogbookLock::holdWrittenFile()
{
    if (m_state == State::Held)
        lockFileItself();
}

bool LogbookLock::lockFileItself()
{
    releaseFileItself();
    // Only a regular file is opened: some devices act on being opened, and a pipe would wait.
    const QByteArray nativePath = QFile::encodeName(m_filePath);
    struct stat status {};
    if (::stat(nativePath.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return true;
    const int handle = ::open(nativePath.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (handle < 0)
        return true;
    // An open file description's lock: it belongs to this opening of the file, so another
    // window of the same process meets it too, and no other closing of the file releases it.
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    whole.l_start = 0;
    whole.l_len = 0; // to the end, however long the file grows
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        return true;
    }
    if (::fcntl(handle, F_OFD_SETLK, &whole) == 0) {
        m_fileHandle = handle;
        return true;
    }
    const int errorNumber = errno;
    ::close(handle);
    return errorNumber != EAGAIN && errorNumber != EACCES;
}

void LogbookLock::releaseFileItself()
{
    if (m_fileHandle >= 0)
        ::close(m_fileHandle);
    m_fileHandle = -1;
}

} // namespace fb
