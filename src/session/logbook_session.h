#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace fb {

class EarlyLogbookRead;
class LogbookDocument;
class LogbookLock;
class RecoveryJournal;

// What opening a file came to; the window shows the messages in their order.
struct OpenOutcome {
    // The document is now the file's, or a new logbook to be made under its name; otherwise
    // the previous document stays as it was.
    bool opened = false;
    // No file was there: the name is the new logbook's.
    bool newFile = false;
    // The file was damaged or a distance in it did not convert: the messages say so.
    bool faulty = false;
    QStringList messages;
    // Unsaved changes of a previous run may be offered for it.
    bool mayRecover() const { return opened && !faulty; }
    // Worth a place among the recent logbooks.
    bool readWhole() const { return mayRecover() && !newFile; }
};

// A journal of unsaved changes found for the document: either a message that it was set aside
// (it cannot be applied), or the question whether to apply it, answered through recover().
struct RecoveryOffer {
    QString message;
    QString question;
    bool isEmpty() const { return message.isEmpty() && question.isEmpty(); }
};

// The open logbook's life on disk, without a window: the document, the lock beside its file
// that keeps a second window from writing over it, the recovery journal that keeps every change
// until it is saved, and what the entry log remembers of each file. Whatever the user must be
// asked or told comes back as text; the answers come back in as calls.
class LogbookSession : public QObject {
public:
    explicit LogbookSession(int fontPixelsPerInch, QObject *parent = nullptr);
    // A journal not discarded stays for the next start: the session ended without the
    // document being given up, as a crash would end it.
    ~LogbookSession() override;

    LogbookDocument &document() { return *m_document; }
    const LogbookDocument &document() const { return *m_document; }

    // The folder of the recovery journals; without one, changes are not journaled. Starts the
    // journal of the document as it is.
    void setRecoveryFolder(const QString &folder);
    // The user's own folder for the journals, under the application's data folder.
    static QString defaultRecoveryFolder();
    // Where the entry log each logbook last had is remembered, so that a file whose log was
    // removed or replaced since is reported on opening; without one nothing is remembered.
    void setEntryLogMemoryFolder(const QString &folder);
    static QString defaultEntryLogMemoryFolder();

    // Another window holds the logbook, or no lock can be made beside it: nothing that would
    // change the logbook may be done, and it can only be saved under another name.
    bool isReadOnly() const;
    // Why the document is read-only, to be shown while it is; empty otherwise.
    const QString &accessNote() const { return m_accessNote; }
    // The journal of the document's changes, empty while nothing is journaled.
    QString journalPath() const;
    bool journalWritten() const;

    // Opening is two steps. The first takes the lock for path; when another window holds it,
    // it returns the question whether to open the file read-only (to be asked with "Ja" as
    // the default), else an empty text. The second opens it (read-only after the question).
    QString questionBeforeOpening(const QString &path);
    OpenOutcome open(const QString &path);
    // The file the next open() is for, being read already: open() takes what was read when
    // it opens that file, else it lets the read go.
    void expectOpening(std::unique_ptr<EarlyLogbookRead> read);

    // The unsaved changes a previous run left for the open logbook, and for an untitled one
    // (the first of those found; a further one is offered at the next start).
    RecoveryOffer offerRecovery();
    RecoveryOffer offerUntitledRecovery();
    // The answer to the offer's question: the changes are applied, or the journal is set aside.
    // Returns a message to show when the journal turns out damaged; throws Error when the
    // applied changes give readings that cannot be worked out (they are in all the same).
    QString recover(bool accepted);

    // The question before saving to path when the file was changed outside since it was
    // opened (to be asked with "Nein" as the default), else an empty text.
    QString questionBeforeSaving(const QString &path) const;
    // Saves to path and binds the document to it; returns the message to show when it is not
    // saved (the changed mark stays), else an empty text.
    QString saveTo(const QString &path);

    // A new, unnamed logbook in place of the one given up.
    void startUntitled();
    // The next year's logbook in place of this one: its templates, and the given reading as
    // its start. Throws Error, before anything changes, for a reading that cannot be one.
    void startNewYear(double finalReading);
    // The document is given up: its changes are saved, or the user chose not to save them.
    void release();

private:
    struct Access;
    struct PendingRecovery;
    std::shared_ptr<LogbookLock> lockFor(const QString &path) const;
    Access accessTo(const QString &path);
    void bind(std::shared_ptr<LogbookLock> lock, bool readOnly, const QString &note);
    void startJournal();
    void stopJournal();
    RecoveryOffer offerFrom(const QString &journalPath);
    RecoveryOffer setAside(const QString &reason, const QString &why);

    std::unique_ptr<LogbookDocument> m_document;
    QString m_recoveryFolder;
    // The lock beside the document's file while it may be written; kept for the next document
    // when that is the same file.
    std::shared_ptr<LogbookLock> m_lock;
    std::unique_ptr<RecoveryJournal> m_journal;
    QString m_accessNote;
    std::unique_ptr<Access> m_pendingAccess;
    std::unique_ptr<PendingRecovery> m_pendingRecovery;
    std::unique_ptr<EarlyLogbookRead> m_earlyRead;
};

} // namespace fb
