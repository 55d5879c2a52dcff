#pragma once

#include <QLockFile>
#include <QString>

namespace fb {

// The lock a window holds beside the logbook it has open (".<name>.lock" in the same folder),
// so that a second window, of this run of the program or another, does not write over it.
// The lock lasts as long as its holder runs, however long that is; a lock whose holder has
// ended (killed, crashed) is taken over. Readers that never write (the batch command line)
// neither take nor heed it.
class LogbookLock {
public:
    enum class State {
        Held,          // this lock holds the logbook
        HeldElsewhere, // another window holds it: holderPid, holderHost
        Unavailable,   // no lock can be made there (a read-only folder): errorNumber
    };

    // Tries to take the lock at once.
    explicit LogbookLock(const QString &logbookPath);

    State state() const { return m_state; }
    qint64 holderPid() const { return m_holderPid; }
    const QString &holderHost() const { return m_holderHost; }
    int errorNumber() const { return m_errorNumber; }

    static QString lockPathFor(const QString &logbookPath);

private:
    QLockFile m_lock;
    State m_state = State::Unavailable;
    qint64 m_holderPid = 0;
    QString m_holderHost;
    int m_errorNumber = 0;
};

} // namespace fb
