#include "logbook_lock.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace fb {

QString LogbookLock::lockPathFor(const QString &logbookPath)
{
    const QFileInfo info(logbookPath);
    return info.absoluteDir().filePath(QStringLiteral(".%1.lock").arg(info.fileName()));
}

LogbookLock::LogbookLock(const QString &logbookPath) : m_lock(lockPathFor(logbookPath))
{
    // A window may keep a logbook open for days: only a holder that has ended makes a lock
    // stale, never its age.
    m_lock.setStaleLockTime(0);
    if (m_lock.tryLock(0)) {
        m_state = State::Held;
        return;
    }
    switch (m_lock.error()) {
    case QLockFile::LockFailedError: {
        QString application;
        m_state = State::HeldElsewhere;
        m_lock.getLockInfo(&m_holderPid, &m_holderHost, &application);
        return;
    }
    case QLockFile::PermissionError:
        m_errorNumber = EACCES;
        break;
    default:
        m_errorNumber = errno != 0 ? errno : EIO;
        break;
    }
    m_state = State::Unavailable;
}

} // namespace fb
