#include "logbook_session.h"

#include "session/file_messages.h"

#include "core/file_error.h"
#include "core/write_target.h"
#include "storage/logbook_document.h"
#include "storage/logbook_lock.h"
#include "storage/recovery_journal.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>
#include <exception>
#include <limits>

namespace fb {
namespace {

QString shownName(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("unbenannt.fbu") : QFileInfo(path).fileName();
}

// Two names of one file: the same path, or links to the same file.
bool sameFile(const QString &first, const QString &second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    return isSameFile(first, second);
}

QString heldElsewhere(const QString &path, const LogbookLock &lock)
{
    // A window that holds the file under another name (a hard link), or whose lock file cannot
    // be read, is not known by its process.
    if (lock.holderPid() <= 0)
        return QStringLiteral("Das Fahrtenbuch \"%1\" ist bereits geöffnet.").arg(shownName(path));
    return QStringLiteral(
               "Das Fahrtenbuch \"%1\" ist bereits geöffnet (Prozess %2 auf Rechner %3).")
        .arg(shownName(path))
        .arg(lock.holderPid())
        .arg(lock.holderHost());
}

QString appDataFolder(const QString &name)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(name);
}

} // namespace

// How the session may have a logbook: with its lock, or read-only with a note why.
struct LogbookSession::Access {
    QString path;
    std::shared_ptr<LogbookLock> lock;
    bool readOnly = false;
    QString note;
    // Asked before a file another window holds is opened read-only.
    QString question;
};

// A journal found and claimed, waiting for the answer to its question.
struct LogbookSession::PendingRecovery {
    QString path;
    std::unique_ptr<QLockFile> claim;
    JournalContents contents;
};

LogbookSession::LogbookSession(int fontPixelsPerInch, QObject *parent)
    : QObject(parent), m_document(std::make_unique<LogbookDocument>(fontPixelsPerInch))
{}

LogbookSession::~LogbookSession()
{
    stopJournal();
}

void LogbookSession::setRecoveryFolder(const QString &folder)
{
    m_recoveryFolder = folder;
    startJournal();
}

QString LogbookSession::defaultRecoveryFolder()
{
    return appDataFolder(QStringLiteral("Wiederherstellung"));
}

void LogbookSession::setEntryLogMemoryFolder(const QString &folder)
{
    m_document->setEntryLogMemoryFolder(folder);
}

QString LogbookSession::defaultEntryLogMemoryFolder()
{
    return appDataFolder(QStringLiteral("Protokollstand"));
}

bool LogbookSession::isReadOnly() const
{
    return m_document->isReadOnly();
}

QString LogbookSession::journalPath() const
{
    return m_journal ? m_journal->path() : QString();
}

bool LogbookSession::journalWritten() const
{
    return m_journal && m_journal->isWritten();
}

// --- Lock and journal ---------------------------------------------------------------------

std::shared_ptr<LogbookLock> LogbookSession::lockFor(const QString &path) const
{
    // The session's own file keeps the lock it has: a second one would find it held.
    if (m_lock && sameFile(path, m_document->fileName()))
        return m_lock;
    return std::make_shared<LogbookLock>(path);
}

LogbookSession::Access LogbookSession::accessTo(const QString &path)
{
    std::shared_ptr<LogbookLock> lock = lockFor(path);
    switch (lock->state()) {
    case LogbookLock::State::Held:
        return Access{path, std::move(lock), false, QString(), QString()};
    case LogbookLock::State::HeldElsewhere:
        return Access{path, nullptr, true,
                      QStringLiteral("Schreibgeschützt geöffnet: ") + heldElsewhere(path, *lock),
                      heldElsewhere(path, *lock) + QStringLiteral(" Schreibgeschützt öffnen?")};
    case LogbookLock::State::Unavailable:
        break;
    }
    return Access{path, nullptr, true,
                  QStringLiteral("Schreibgeschützt geöffnet: Neben \"%1\" kann keine Sperrdatei "
                                 "angelegt werden (%2).")
                      .arg(shownName(path), germanFileErrorReason(lock->errorNumber())),
                  QString()};
}

void LogbookSession::startJournal()
{
    stopJournal();
    if (m_recoveryFolder.isEmpty() || isReadOnly())
        return;
    const QString &name = m_document->fileName();
    const QString path = name.isEmpty() ? newUntitledJournalPath(m_recoveryFolder)
                                        : journalPathFor(m_recoveryFolder, name);
    m_journal = std::make_unique<RecoveryJournal>(
        path, JournalBase{name, m_document->diskState(), QByteArray()});
    m_document->addOperationHook(m_journal.get());
}

void LogbookSession::stopJournal()
{
    if (!m_journal)
        return;
    m_document->removeOperationHook(m_journal.get());
    m_journal.reset();
}

void LogbookSession::release()
{
    if (m_journal)
        m_journal->discard();
    stopJournal();
    m_lock.reset();
    m_document->setReadOnly(false);
}

void LogbookSession::bind(std::shared_ptr<LogbookLock> lock, bool readOnly, const QString &note)
{
    const bool named = !m_document->fileName().isEmpty();
    m_lock = named ? std::move(lock) : nullptr;
    m_document->setReadOnly(named && readOnly);
    m_accessNote = isReadOnly() ? note : QString();
    startJournal();
}

void LogbookSession::startUntitled()
{
    release();
    m_document->NewAll();
    bind(nullptr, false, QString());
}

void LogbookSession::startNewYear(double finalReading)
{
    const double startKm = std::nearbyint(finalReading);
    if (!(startKm >= std::numeric_limits<qint32>::min() &&
          startKm <= std::numeric_limits<qint32>::max()))
        throw Error(QStringLiteral("Der Kilometerstand %1 kann nicht Kilometerstand Beginn des "
                                   "neuen Jahres werden")
                        .arg(startKm, 0, 'f', 0));
    const QList<Row> templates = m_document->logbook().templates.rows();

    startUntitled();
    // What the new year takes over goes in as changes, so that the journal keeps them until
    // the new logbook is saved.
    for (const Row &entry : templates)
        m_document->apply(NewTemplate{entry});
    MasterData master = m_document->logbook().master;
    master.startKm = qint32(startKm);
    m_document->apply(SetMasterData{master});
    m_document->SetChanged();
}

// --- Opening ------------------------------------------------------------------------------

QString LogbookSession::questionBeforeOpening(const QString &path)
{
    m_pendingAccess = std::make_unique<Access>(accessTo(path));
    return m_pendingAccess->question;
}

void LogbookSession::expectOpening(std::unique_ptr<EarlyLogbookRead> read)
{
    m_earlyRead = std::move(read);
}

OpenOutcome LogbookSession::open(const QString &path)
{
    OpenOutcome outcome;
    // Let go whatever comes of this opening: the early read is for this one only.
    const std::unique_ptr<EarlyLogbookRead> earlyRead = std::move(m_earlyRead);
    if (!m_pendingAccess || m_pendingAccess->path != path)
        m_pendingAccess = std::make_unique<Access>(accessTo(path));
    const std::unique_ptr<Access> access = std::move(m_pendingAccess);
    std::unique_ptr<OpenedLogbookFile> file;
    try {
        file = std::make_unique<OpenedLogbookFile>(path);
    } catch (const FileError &error) {
        // A name that is not there yet names a new logbook; any other failure leaves the
        // document as it was, bound to its own file.
        if (error.errorNumber() != ENOENT) {
            outcome.messages.append(cannotOpenMessage(path, error));
            return outcome;
        }
    }

    // From here the previous document is given up.
    release();
    outcome.opened = true;
    std::exception_ptr failure;
    if (file) {
        try {
            m_document->readFrom(*file, UnreadableDistance::Fail,
                                 earlyRead && earlyRead->path() == path ? earlyRead->take()
                                                                        : nullptr);
        } catch (const Error &) {
            // A damaged file keeps what was read, without its name; a distance that does not
            // convert keeps the whole logbook.
            failure = std::current_exception();
        }
    } else {
        // Saving creates it there; the caption shows its name.
        m_document->NewAll();
        m_document->setFileName(path);
        m_document->SetUnChanged();
    }
    bind(access->lock, access->readOnly, access->note);
    outcome.newFile = !file;
    outcome.faulty = bool(failure);
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const FileError &error) {
        outcome.messages.append(cannotOpenMessage(path, error));
    } catch (const Error &error) {
        outcome.messages.append(error.message());
    }
    if (const QString &found = m_document->outsideChangeFound(); !failure && !found.isEmpty())
        outcome.messages.append(QStringLiteral("Die Datei \"%1\" wurde außerhalb des Programms "
                                               "verändert: %2. Der Befund steht im "
                                               "Änderungsprotokoll und wird beim nächsten "
                                               "Speichern in die Datei übernommen")
                                    .arg(shownName(path), found));
    return outcome;
}

// --- Recovery -----------------------------------------------------------------------------

RecoveryOffer LogbookSession::offerRecovery()
{
    if (m_recoveryFolder.isEmpty() || isReadOnly() || m_document->fileName().isEmpty())
        return {};
    return offerFrom(journalPathFor(m_recoveryFolder, m_document->fileName()));
}

RecoveryOffer LogbookSession::offerUntitledRecovery()
{
    if (m_recoveryFolder.isEmpty())
        return {};
    for (const QString &path : untitledJournals(m_recoveryFolder))
        if (RecoveryOffer offer = offerFrom(path); !offer.isEmpty())
            return offer;
    return {};
}

RecoveryOffer LogbookSession::setAside(const QString &reason, const QString &why)
{
    const std::unique_ptr<PendingRecovery> pending = std::move(m_pendingRecovery);
    const QString aside = setJournalAside(pending->path, reason, std::move(pending->claim));
    return {QStringLiteral("Die ungespeicherten Änderungen an \"%1\" können nicht "
                           "wiederhergestellt werden: %2. Die Wiederherstellungsdatei liegt "
                           "jetzt unter \"%3\"")
                .arg(shownName(m_document->fileName()), why, QDir::toNativeSeparators(aside)),
            QString()};
}

RecoveryOffer LogbookSession::offerFrom(const QString &journalPath)
{
    m_pendingRecovery.reset();
    if (!journalPresent(journalPath))
        return {};
    std::unique_ptr<QLockFile> claim = claimJournal(journalPath);
    if (!claim)
        return {}; // the program that writes it still runs
    m_pendingRecovery = std::make_unique<PendingRecovery>(
        PendingRecovery{journalPath, std::move(claim), JournalContents{}});
    const QString damaged = QStringLiteral("Die Wiederherstellungsdatei ist beschädigt");
    try {
        m_pendingRecovery->contents = readJournal(journalPath);
    } catch (const JournalDamaged &) {
        return setAside(QStringLiteral("beschaedigt"), damaged);
    } catch (const JournalUnreadable &) {
        return setAside(QStringLiteral("unlesbar"), damaged);
    } catch (const FileError &error) {
        return setAside(QStringLiteral("unlesbar"), germanFileErrorReason(error.errorNumber()));
    }
    const JournalContents &journal = m_pendingRecovery->contents;
    if (journal.operations.isEmpty()) {
        // The program ended between starting the journal and its first change.
        m_pendingRecovery.reset();
        QFile::remove(journalPath);
        return {};
    }
    if (!journalStartsFrom(journal.base, *m_document))
        return setAside(QStringLiteral("anderer-stand"),
                        QStringLiteral("Die Datei wurde seitdem außerhalb des Programms "
                                       "geändert"));
    const QString when = journal.operations.constLast().appliedAt.toLocalTime().toString(
        QStringLiteral("dd.MM.yyyy HH:mm"));
    return {QString(),
            QStringLiteral("Ungespeicherte Änderungen vom %1 wiederherstellen?").arg(when)};
}

QString LogbookSession::recover(bool accepted)
{
    if (!m_pendingRecovery)
        return QString();
    if (!accepted) {
        const std::unique_ptr<PendingRecovery> pending = std::move(m_pendingRecovery);
        setJournalAside(pending->path, QStringLiteral("verworfen"), std::move(pending->claim));
        return QString();
    }
    std::exception_ptr failure;
    try {
        replayJournal(m_pendingRecovery->contents, *m_document);
    } catch (const JournalDamaged &) {
        return setAside(QStringLiteral("beschaedigt"),
                        QStringLiteral("Die Wiederherstellungsdatei ist beschädigt"))
            .message;
    } catch (const Error &) {
        failure = std::current_exception(); // the odometer pass: the changes are in
    }
    // The journal goes on with the changes still to come.
    const std::unique_ptr<PendingRecovery> pending = std::move(m_pendingRecovery);
    stopJournal();
    m_journal = std::make_unique<RecoveryJournal>(pending->path, std::move(pending->claim));
    m_document->addOperationHook(m_journal.get());
    if (failure)
        std::rethrow_exception(failure);
    return QString();
}

// --- Saving -------------------------------------------------------------------------------

QString LogbookSession::questionBeforeSaving(const QString &path) const
{
    // Saving over a file that someone else has changed since would lose their changes.
    if (isReadOnly() || !sameFile(path, m_document->fileName()) || !m_document->fileChangedOnDisk())
        return QString();
    return QStringLiteral("Die Datei \"%1\" wurde seit dem Öffnen außerhalb des Programms "
                          "geändert. Trotzdem speichern?")
        .arg(shownName(path));
}

QString LogbookSession::saveTo(const QString &path)
{
    std::shared_ptr<LogbookLock> lock = lockFor(path);
    if (lock->state() == LogbookLock::State::HeldElsewhere)
        return heldElsewhere(path, *lock) +
               QStringLiteral(" Es kann dort nicht gespeichert werden");
    if (lock->state() == LogbookLock::State::Unavailable)
        return cannotSaveMessage(path, FileError(lock->errorNumber()));
    try {
        m_document->SaveTheFileAs(path);
    } catch (const Error &error) {
        return cannotSaveMessage(path, error);
    }
    // Saving put a new file in place: the lock moves on to it.
    lock->holdWrittenFile();
    // The file holds every change now: the journal starts anew from it.
    release();
    bind(std::move(lock), false, QString());
    return QString();
}

} // namespace fb
