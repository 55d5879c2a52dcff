#pragma once

#include <QLockFile>
#include <QString>

namespace fb {

// The system's error number for a lock file that could not be taken, where `errorNumber` is
// errno as the attempt left it: QLockFile names only its own kinds of failure, a full disk
// among its unknown ones. EBUSY for a lock held elsewhere.
int lockFileErrorNumber(const QLockFile &lock, int errorNumber);

// The lock a window holds on the logbook it has open, so that a second window, of this run of
// the program or another, does not write over it. It is two locks in one:
// - a lock file beside the file itself, symbolic links followed (".<name>.lock" in the file's
//   folder), which names its holder: process, computer;
// - a write lock of the whole file, held on the window's own opening of it, which every name of
//   the file meets, a hard link in another folder as well.
// The lock lasts as long as its holder runs, however long that is; a lock whose holder has
// ended (killed, crashed) is taken over. Readers that never write (the batch command line)
// neither take nor heed it.
class LogbookLock {
public:
    enum class State {
        Held,          // this lock holds the logbook
        HeldElsewhere, // another window holds it: holderPid and holderHost where known
        Unavailable,   // no lock file can be made there (a read-only folder): errorNumber
    };

    // Tries to take the lock at once.
    explicit LogbookLock(const QString &logbookPath);
    ~LogbookLock();
    LogbookLock(const LogbookLock &) = delete;
    LogbookLock &operator=(const LogbookLock &) = delete;

    State state() const { return m_state; }
    // 0 when the holder is not known: it holds the file under another name, or its lock file
    // cannot be read.
    qint64 holderPid() const { return m_holderPid; }
    const QString &holderHost() const { return m_holderHost; }
    int errorNumber() const { return m_errorNumber; }

    // The logbook was written anew under its name (saving replaces the file): the lock holds
    // the new file as it held the old one.
    void holdWrittenFile();

    static QString lockPathFor(const QString &logbookPath);

private:
    // Takes the write lock of the file; false when another opening of it holds one. A file that
    // cannot be opened for it (not there yet, no write permission, no such locks where it lies)
    // is held by the lock file alone.
    bool lockFileItself();
    void releaseFileItself();

    QString m_filePath;
    QLockFile m_lock;
    int m_fileHandle = -1;
    State m_state = State::Unavailable;
    qint64 m_holderPid = 0;
    QString m_holderHost;
    int m_errorNumber = 0;
};

} // namespace fb
