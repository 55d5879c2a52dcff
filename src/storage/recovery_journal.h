#pragma once

#include "core/file_error.h"
#include "file_fingerprint.h"
#include "logbook_document.h"

#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace fb {

// The recovery journal keeps every change made to an open logbook since it was last read or
// saved, so that a program that ends without saving (killed, crashed, the machine switched
// off) loses nothing: the next start replays the changes onto the logbook they started from.
// One journal file per logbook, in a folder of the user's own; it is made at the first change
// and removed when the changes are saved or consciously dropped.
//
// The file: eight bytes "FBJRNL01", then frames of a 32-bit little-endian length, the bytes,
// and their CRC-32. The first frame says what the changes start from (JournalBase), each
// further frame holds one operation (operation_codec.h).

// What the operations of a journal start from.
struct JournalBase {
    // The logbook's file as the document named it; empty while untitled.
    QString logbookPath;
    // That file as the document read or last wrote it; nothing when the document had none.
    std::optional<FileFingerprint> file;
    // The whole logbook in the file's form, when there was no file to start from.
    QByteArray snapshot;
};

struct JournalContents {
    JournalBase base;
    QList<TimedOperation> operations;
};

// A journal that cannot be used as a whole: damaged anywhere, of another version, or with an
// operation that does not fit the logbook it starts from.
class JournalDamaged : public Error {
public:
    using Error::Error;
};

// The journal's name holds no regular file of a journal's size: a symbolic link, a pipe, a
// device, or more bytes than any journal reaches. It is never opened for reading.
class JournalUnreadable : public Error {
public:
    using Error::Error;
};

// The journal could not be made or written: the changes made since are not protected.
class JournalWriteFailed : public FileError {
public:
    using FileError::FileError;
};

// The journal file of a logbook file, and of an untitled logbook.
QString journalPathFor(const QString &folder, const QString &logbookPath);
QString newUntitledJournalPath(const QString &folder);
// The journals of untitled logbooks in the folder, newest first, whatever kind of file is
// there under such a name.
QStringList untitledJournals(const QString &folder);

// Claims a journal that no running program writes any more (its writer ended, however): the
// lock beside it, or nothing while its writer still runs.
std::unique_ptr<QLockFile> claimJournal(const QString &path);

// Whether anything is at the journal's name: a file, or a link wherever it leads.
bool journalPresent(const QString &path);

// Reads a whole journal. Throws FileError when it cannot be read, JournalUnreadable when it is
// no regular file of a journal's size, JournalDamaged when any part of it is damaged.
JournalContents readJournal(const QString &path);

// Whether the journal's changes start from the document as it now stands: the file it was
// just read from, or no file at all where the journal started without one.
bool journalStartsFrom(const JournalBase &base, const LogbookDocument &document);

// Replays the journal onto the document it starts from (or onto its snapshot) and marks the
// document changed. Every operation is checked first on a copy: an operation that does not fit
// throws JournalDamaged and leaves the document as it was. The odometer pass runs last and
// may throw ConversionError like every load.
void replayJournal(const JournalContents &journal, LogbookDocument &document);

// Moves a journal out of the way under a name that is never offered again,
// "<name>.<reason>-<yyyyMMdd-HHmmss>", and releases its lock; returns the new path. A link is
// moved itself, never what it leads to.
QString setJournalAside(const QString &path, const QString &reason,
                        std::unique_ptr<QLockFile> claim);

// Records the operations applied to one document; added to it as an operation hook.
class RecoveryJournal : public QObject, public OperationHook {
    Q_OBJECT
public:
    // Written data goes to the disk at most this long after a change.
    static constexpr int kSyncDelayMs = 2000;

    // A journal at path for the changes that start from base; the file is made at the first
    // change, with a snapshot of the logbook when base has no file.
    RecoveryJournal(QString path, JournalBase base, QObject *parent = nullptr);
    // Continues the existing journal at path, claimed with claim, whose changes the document
    // now holds.
    RecoveryJournal(QString path, std::unique_ptr<QLockFile> claim, QObject *parent = nullptr);
    // Closes the file and keeps it: only discard() removes it.
    ~RecoveryJournal() override;

    const QString &path() const { return m_path; }
    // Whether the journal file exists: a change has been recorded since the base.
    bool isWritten() const { return m_handle >= 0; }

    // Removes the journal file: the changes are saved or consciously dropped.
    void discard();
    // Puts what was written on the disk now.
    void sync();

    void beforeOperation(const Logbook &before, const TimedOperation &operation) override;
    // Throws JournalWriteFailed once when the journal could not be made or written; from then
    // on it records nothing, so what it holds stays a consistent earlier state.
    void afterOperation(const TimedOperation &operation, qsizetype row) override;

private:
    void create(const Logbook &before);
    // Appends the bytes in one piece; on failure cuts the file back to what it held before.
    void writeWhole(const QByteArray &bytes);
    void closeFile(bool syncFirst = true);

    QString m_path;
    JournalBase m_base;
    std::unique_ptr<QLockFile> m_lock;
    int m_handle = -1;
    qint64 m_goodSize = 0;
    int m_failure = 0;       // the error that stopped the journal
    bool m_reported = false; // the failure was thrown once
    QTimer m_syncTimer;
};

} // namespace fb
