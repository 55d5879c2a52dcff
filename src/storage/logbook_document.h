#pragma once

#include "early_logbook_read.h"
#include "entry_log_trailer.h"
#include "file_fingerprint.h"
#include "model/logbook.h"
#include "model/logbook_operation.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace fb {

// A logbook file opened for reading and not read yet: opening, which may fail without
// anything being lost, comes apart from reading, which replaces a document.
class OpenedLogbookFile {
public:
    // Throws FileError when the file cannot be opened (missing, no permission) or is no
    // regular file (a directory, a device, a pipe), which is refused before it is opened.
    explicit OpenedLogbookFile(const QString &path);

    const QString &path() const { return m_path; }

private:
    friend class LogbookDocument;
    friend class EarlyLogbookRead;
    QString m_path;
    std::unique_ptr<QFile> m_file;
    std::optional<FileFingerprint> m_fingerprint;
};

// What a load does when a trip's distance is no number, so that the odometer pass stops there.
enum class UnreadableDistance {
    Fail, // the load throws the ConversionError once the whole file is read
    Keep, // the load goes on; the readings from that trip on stay as the file had them
};

// Sees every operation the document applies: the one place where changes can be recorded
// (the recovery journal) or logged.
class OperationHook {
public:
    virtual ~OperationHook() = default;
    // The operation has been checked and is about to change the logbook, which is still as
    // it was before.
    virtual void beforeOperation(const Logbook &before, const TimedOperation &operation)
    {
        Q_UNUSED(before);
        Q_UNUSED(operation);
    }
    // The operation changed the logbook; row is what LogbookDocument::apply returns. The
    // odometer pass has not run yet.
    virtual void afterOperation(const TimedOperation &operation, qsizetype row) = 0;
};

// The open logbook as a whole: its six parts, its file name (empty while untitled) and its
// changed mark. The window caption is rebuilt only when the mark is set or cleared.
class LogbookDocument : public QObject {
    Q_OBJECT
public:
    explicit LogbookDocument(int fontPixelsPerInch = PrintFont::kStandardPixelsPerInch,
                             QObject *parent = nullptr);

    Logbook &logbook() { return m_logbook; }
    const Logbook &logbook() const { return m_logbook; }

    const QString &fileName() const { return m_fileName; }
    // Binds the document to a path without reading or writing it; the file there, if any,
    // counts as one the document has not seen.
    void setFileName(const QString &path);
    bool isChanged() const { return m_changed; }

    // Sets the changed mark; a read-only document is never changed.
    void SetChanged();
    void SetUnChanged();
    // Empties the trip and template tables and forgets the file name; master data, print
    // settings and fonts stay, so a new logbook starts with the previous vehicle and keeper.
    void NewAll();

    // A read-only document takes no operation that marks it changed and never bears the
    // changed mark; print options may still be chosen for a printout.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }

    // Applies one change: checks it (OperationError, nothing changed), tells the hooks,
    // changes the logbook, sets the changed mark where the operation calls for it and runs
    // the odometer pass where readings may have moved (its ConversionError comes after the
    // change, as in every command). Returns the row written (see applyOperation).
    qsizetype apply(const LogbookOperation &operation);
    // The same with the moment given, as when recorded operations are replayed.
    qsizetype apply(const TimedOperation &operation);
    // Hooks see every applied operation in the order they were added; not owned.
    void addOperationHook(OperationHook *hook) { m_hooks.append(hook); }
    void removeOperationHook(OperationHook *hook) { m_hooks.removeAll(hook); }

    // Replaces all six parts and the entry log by those of another logbook, in one reset of
    // each table.
    void replaceLogbook(const Logbook &source);

    // The folder where the program remembers the entry log it last wrote into each file
    // (entry_log_memory.h); empty, as at first, to remember nothing. Reading then compares a
    // file's log with what was remembered of it, and saving remembers what it wrote.
    void setEntryLogMemoryFolder(const QString &folder) { m_entryLogMemory = folder; }
    // What the last read found changed outside the program, in German words, or empty. The
    // finding is in the entry log as an event, so the next save keeps it.
    const QString &outsideChangeFound() const { return m_outsideChangeFound; }

    // Writes the document to its file name (SaveTheFileAs).
    void SaveTheFile();
    // Writes the document to path, replacing the file there only when the new one is
    // complete and synced, and on success takes path as its file name and clears the changed
    // mark. Throws FileError, and leaves the document as it was, when the file cannot be
    // created or must not be replaced (a directory, a device, a pipe, a write-protected
    // file: EACCES) or when a write fails.
    void SaveTheFileAs(const QString &path);

    // Replaces the document with the file's contents and runs the odometer pass; a file changed
    // outside the program since it was last written gets an event in its entry log saying so
    // (outsideChangeFound). A file that
    // cannot be opened (missing, no permission) or is no regular file throws FileError before
    // anything changes. A file that ends early or cannot be read throws FileError after the
    // document was emptied: what was read stays, and the file name is cleared so that the
    // damaged file is not overwritten by the next save.
    // A file changed outside the program opens even where a distance is no number: the finding
    // names the trips, and the check and the verdict on the log must still be had.
    void OpenFileWithName(const QString &path,
                          UnreadableDistance onUnreadable = UnreadableDistance::Fail);
    // The second half of OpenFileWithName: reads the opened file into the document. A file
    // decoded beforehand (EarlyLogbookRead) is taken over instead when it is the file opened,
    // unchanged since; the outcome is the same as reading it.
    void readFrom(OpenedLogbookFile &file,
                  UnreadableDistance onUnreadable = UnreadableDistance::Fail,
                  std::unique_ptr<DecodedLogbook> decoded = nullptr);

    // From now on the texts of a file read are no copies but refer to the file's bytes, which
    // stay, those of every file it reads, until the process ends (keepUntilExit): for a run
    // that reads a file and only looks at it, where copying every text costs more than the
    // rest of the work. A window does so only for its start file (EarlyLogbookRead).
    void keepTextsInFileBytes() { m_keepsFileBytes = true; }

    // The file as the document last read or wrote it; nothing while the document has no file
    // of its own.
    const std::optional<FileFingerprint> &diskState() const { return m_diskState; }
    // Whether the file at the document's name is no longer the one it read or wrote: changed,
    // replaced, or put there since. A file that has gone away counts as unchanged: saving
    // loses nothing of it.
    bool fileChangedOnDisk() const;

    // "<base> - [name]" with "*" before the "]" while changed; "unbenannt.fbu" while untitled.
    QString caption(const QString &baseCaption) const;

Q_SIGNALS:
    // The changed mark was set or cleared: time to rebuild the caption.
    void captionChanged();
    // The entry log has another event or was replaced.
    void entryLogChanged();

private:
    // Reads the whole file into the logbook; a FileError leaves what was read, unnamed.
    EntryLogFindings readWhole(OpenedLogbookFile &file);
    // Records in the log what the read found, and what this machine remembers of the file.
    void noteOutsideChange(const EntryLogFindings &findings);

    bool m_keepsFileBytes = false;
    Logbook m_logbook;
    QString m_fileName;
    std::optional<FileFingerprint> m_diskState;
    QList<OperationHook *> m_hooks;
    QString m_entryLogMemory;
    QString m_outsideChangeFound;
    bool m_changed = false;
    bool m_readOnly = false;
};

} // namespace fb
