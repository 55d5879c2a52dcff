// The main window's file commands and what keeps a logbook from being lost: New, Open, Save,
// Save as and closing; the lock beside the open file that keeps a second window from writing
// over it; and the recovery journal that keeps every change until it is saved.
#include "main_form.h"

#include "file_messages.h"
#include "prompts.h"
#include "ui/list/trip_list_view.h"
#include "user_settings.h"

#include "core/file_error.h"
#include "core/write_target.h"
#include "storage/logbook_document.h"
#include "storage/logbook_lock.h"
#include "storage/recovery_journal.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardPaths>
#include <QStatusBar>
#include <QWidget>

#include <cerrno>
#include <exception>

namespace fb {
namespace {

const FileKind kLogbookFiles{QStringLiteral("Fahrtenbuch-Datei (*.fbu)"), QStringLiteral("fbu")};
const QString kSaveQuestionTitle = QStringLiteral("Speichern");

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

} // namespace

// How the window may have a logbook: with its lock, or read-only with a note why.
struct TMainForm::Access {
    std::shared_ptr<LogbookLock> lock;
    bool readOnly = false;
    QString note;
};

void TMainForm::setRecoveryFolder(const QString &folder)
{
    m_recoveryFolder = folder;
    startJournal();
}

QString TMainForm::defaultRecoveryFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Wiederherstellung"));
}

void TMainForm::setEntryLogMemoryFolder(const QString &folder)
{
    m_document->setEntryLogMemoryFolder(folder);
}

QString TMainForm::defaultEntryLogMemoryFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Protokollstand"));
}

bool TMainForm::isReadOnly() const
{
    return m_document->isReadOnly();
}

// --- Lock and journal ---------------------------------------------------------------------

std::shared_ptr<LogbookLock> TMainForm::lockFor(const QString &path)
{
    // The window's own file keeps the lock it has: a second one would find it held.
    if (m_lock && sameFile(path, m_document->fileName()))
        return m_lock;
    return std::make_shared<LogbookLock>(path);
}

std::optional<TMainForm::Access> TMainForm::accessTo(const QString &path)
{
    std::shared_ptr<LogbookLock> lock = lockFor(path);
    switch (lock->state()) {
    case LogbookLock::State::Held:
        return Access{std::move(lock), false, QString()};
    case LogbookLock::State::HeldElsewhere:
        if (m_prompts.askYesNo(isVisible() ? this : nullptr, QCoreApplication::applicationName(),
                               heldElsewhere(path, *lock) +
                                   QStringLiteral(" Schreibgeschützt öffnen?"),
                               QMessageBox::Yes) != QMessageBox::Yes)
            return std::nullopt;
        return Access{nullptr, true,
                      QStringLiteral("Schreibgeschützt geöffnet: ") + heldElsewhere(path, *lock)};
    case LogbookLock::State::Unavailable:
        break;
    }
    return Access{nullptr, true,
                  QStringLiteral("Schreibgeschützt geöffnet: Neben \"%1\" kann keine Sperrdatei "
                                 "angelegt werden (%2).")
                      .arg(shownName(path), germanFileErrorReason(lock->errorNumber()))};
}

void TMainForm::startJournal()
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

void TMainForm::stopJournal()
{
    if (!m_journal)
        return;
    m_document->removeOperationHook(m_journal.get());
    m_journal.reset();
}

void TMainForm::releaseDocument()
{
    // The document is given up: its changes are saved, or the user chose not to save them.
    if (m_journal)
        m_journal->discard();
    stopJournal();
    m_lock.reset();
    m_document->setReadOnly(false);
}

void TMainForm::startUntitled()
{
    releaseDocument();
    m_document->NewAll();
    bindDocument(nullptr, false, QString());
}

void TMainForm::bindDocument(std::shared_ptr<LogbookLock> lock, bool readOnly, const QString &note)
{
    const bool named = !m_document->fileName().isEmpty();
    m_lock = named ? std::move(lock) : nullptr;
    m_document->setReadOnly(named && readOnly);
    setChangingCommandsEnabled(!isReadOnly());
    m_accessNote = isReadOnly() ? note : QString();
    if (m_accessNote.isEmpty())
        statusBar()->clearMessage();
    showAccessNote();
    startJournal();
}

void TMainForm::showAccessNote()
{
    if (!m_accessNote.isEmpty())
        statusBar()->showMessage(m_accessNote);
}

void TMainForm::setChangingCommandsEnabled(bool enabled)
{
    for (QObject *command : std::as_const(m_changingCommands)) {
        if (auto *action = qobject_cast<QAction *>(command))
            action->setEnabled(enabled);
        else if (auto *widget = qobject_cast<QWidget *>(command))
            widget->setEnabled(enabled);
    }
}

void TMainForm::offerRecovery()
{
    if (m_recoveryFolder.isEmpty() || isReadOnly() || m_document->fileName().isEmpty())
        return;
    recoverFrom(journalPathFor(m_recoveryFolder, m_document->fileName()));
}

void TMainForm::offerUntitledRecovery()
{
    if (m_recoveryFolder.isEmpty())
        return;
    // One journal per start; a further one is offered at the next.
    for (const QString &path : untitledJournals(m_recoveryFolder))
        if (recoverFrom(path))
            return;
}

bool TMainForm::recoverFrom(const QString &journalPath)
{
    if (!journalPresent(journalPath))
        return false;
    std::unique_ptr<QLockFile> claim = claimJournal(journalPath);
    if (!claim)
        return false; // the program that writes it still runs
    QWidget *parent = isVisible() ? this : nullptr;
    const QString name = shownName(m_document->fileName());
    const auto setAside = [&](const QString &reason, const QString &why) {
        const QString aside = setJournalAside(journalPath, reason, std::move(claim));
        m_prompts.showError(parent, QStringLiteral("Die ungespeicherten Änderungen an \"%1\" "
                                                   "können nicht wiederhergestellt werden: %2. "
                                                   "Die Wiederherstellungsdatei liegt jetzt unter "
                                                   "\"%3\"")
                                        .arg(name, why, QDir::toNativeSeparators(aside)));
        return true;
    };
    const QString damaged = QStringLiteral("Die Wiederherstellungsdatei ist beschädigt");
    JournalContents journal;
    try {
        journal = readJournal(journalPath);
    } catch (const JournalDamaged &) {
        return setAside(QStringLiteral("beschaedigt"), damaged);
    } catch (const JournalUnreadable &) {
        return setAside(QStringLiteral("unlesbar"), damaged);
    } catch (const FileError &error) {
        return setAside(QStringLiteral("unlesbar"), germanFileErrorReason(error.errorNumber()));
    }
    if (journal.operations.isEmpty()) {
        // The program ended between starting the journal and its first change.
        claim.reset();
        QFile::remove(journalPath);
        return false;
    }
    if (!journalStartsFrom(journal.base, *m_document))
        return setAside(QStringLiteral("anderer-stand"),
                        QStringLiteral("Die Datei wurde seitdem außerhalb des Programms "
                                       "geändert"));
    const QString when = journal.operations.constLast().appliedAt.toLocalTime().toString(
        QStringLiteral("dd.MM.yyyy HH:mm"));
    if (m_prompts.askYesNo(
            parent, QCoreApplication::applicationName(),
            QStringLiteral("Ungespeicherte Änderungen vom %1 wiederherstellen?").arg(when),
            QMessageBox::Yes) != QMessageBox::Yes) {
        setJournalAside(journalPath, QStringLiteral("verworfen"), std::move(claim));
        return true;
    }
    std::exception_ptr failure;
    try {
        replayJournal(journal, *m_document);
    } catch (const JournalDamaged &) {
        return setAside(QStringLiteral("beschaedigt"), damaged);
    } catch (const Error &) {
        failure = std::current_exception(); // the odometer pass: the changes are in
    }
    // The journal goes on with the changes still to come.
    stopJournal();
    m_journal = std::make_unique<RecoveryJournal>(journalPath, std::move(claim));
    m_document->addOperationHook(m_journal.get());
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

// --- Opening ------------------------------------------------------------------------------

bool TMainForm::openLogbook(const QString &path)
{
    QWidget *parent = isVisible() ? this : nullptr;
    const std::optional<Access> access = accessTo(path);
    if (!access)
        return false;
    std::unique_ptr<OpenedLogbookFile> file;
    try {
        file = std::make_unique<OpenedLogbookFile>(path);
    } catch (const FileError &error) {
        // A name that is not there yet names a new logbook; any other failure leaves the
        // document as it was, bound to its own file.
        if (error.errorNumber() != ENOENT) {
            m_prompts.showError(parent, cannotOpenMessage(path, error));
            return false;
        }
    }

    // From here the previous document is given up.
    releaseDocument();
    std::exception_ptr failure;
    if (file) {
        try {
            m_document->readFrom(*file);
        } catch (const Error &) {
            // A damaged file keeps what was read, without its name; a distance that does not
            // convert keeps the whole logbook.
            failure = std::current_exception();
        }
    } else {
        // "Speichern" creates it there; the caption shows its name.
        m_document->NewAll();
        m_document->setFileName(path);
        m_document->SetUnChanged();
    }
    bindDocument(access->lock, access->readOnly, access->note);
    if (file && !failure)
        rememberFile(path);
    try {
        if (failure)
            std::rethrow_exception(failure);
        if (const QString &found = m_document->outsideChangeFound(); !found.isEmpty())
            m_prompts.showError(parent, QStringLiteral("Die Datei \"%1\" wurde außerhalb des "
                                                       "Programms verändert: %2. Der Befund "
                                                       "steht im Änderungsprotokoll und wird "
                                                       "beim nächsten Speichern in die Datei "
                                                       "übernommen")
                                            .arg(shownName(path), found));
        offerRecovery();
    } catch (const FileError &error) {
        m_prompts.showError(parent, cannotOpenMessage(path, error));
    } catch (const Error &error) {
        m_prompts.showError(parent, error.message());
    }
    return true;
}

bool TMainForm::OpenFile()
{
    const QString path = m_prompts.openFileName(this, kLogbookFiles);
    if (path.isEmpty())
        return false;
    return openLogbook(path);
}

// --- Saving -------------------------------------------------------------------------------

bool TMainForm::maybeSave(const QString &question)
{
    if (!m_document->isChanged())
        return true;
    switch (m_prompts.question(this, kSaveQuestionTitle, question)) {
    case QMessageBox::Yes:
        return SaveFile();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool TMainForm::saveTo(const QString &path)
{
    // Saving over a file that someone else has changed since would lose their changes.
    if (!isReadOnly() && sameFile(path, m_document->fileName()) &&
        m_document->fileChangedOnDisk() &&
        m_prompts.askYesNo(this, QCoreApplication::applicationName(),
                           QStringLiteral("Die Datei \"%1\" wurde seit dem Öffnen außerhalb des "
                                          "Programms geändert. Trotzdem speichern?")
                               .arg(shownName(path)),
                           QMessageBox::No) != QMessageBox::Yes)
        return false;
    std::shared_ptr<LogbookLock> lock = lockFor(path);
    if (lock->state() == LogbookLock::State::HeldElsewhere) {
        m_prompts.showError(this, heldElsewhere(path, *lock) +
                                      QStringLiteral(" Es kann dort nicht gespeichert werden"));
        return false;
    }
    if (lock->state() == LogbookLock::State::Unavailable) {
        m_prompts.showError(this, cannotSaveMessage(path, FileError(lock->errorNumber())));
        return false;
    }
    try {
        m_document->SaveTheFileAs(path);
    } catch (const Error &error) {
        // The user must know the trips are not on disk; the changed mark stays.
        m_prompts.showError(this, cannotSaveMessage(path, error));
        return false;
    }
    // Saving put a new file in place: the lock moves on to it.
    lock->holdWrittenFile();
    // The file holds every change now: the journal starts anew from it.
    releaseDocument();
    bindDocument(std::move(lock), false, QString());
    rememberFile(path);
    return true;
}

bool TMainForm::SaveFile()
{
    // A read-only window saves only under another name.
    if (!m_document->fileName().isEmpty() && !isReadOnly())
        return saveTo(m_document->fileName());
    const QString path = m_prompts.saveFileName(this, kLogbookFiles);
    if (path.isEmpty())
        return false;
    return saveTo(path);
}

// --- Commands -----------------------------------------------------------------------------

void TMainForm::Ne1Click()
{
    if (!maybeSave(kNotSavedBeforeNewQuestion))
        return;
    startUntitled();
}

void TMainForm::ffnen1Click()
{
    if (maybeSave(kNotSavedQuestion))
        OpenFile();
}

void TMainForm::Speichern1Click()
{
    SaveFile();
}

void TMainForm::Speichernunter1Click()
{
    const QString path = m_prompts.saveFileName(this, kLogbookFiles);
    if (path.isEmpty())
        return;
    saveTo(path);
}

void TMainForm::Beenden1Click()
{
    close();
}

void TMainForm::QuitBtnClick()
{
    close();
}

bool TMainForm::FormCloseQuery()
{
    return maybeSave(kNotSavedQuestion);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    try {
        mayClose = FormCloseQuery();
    } catch (const Error &error) {
        m_prompts.showError(this, error.message());
    }
    if (!mayClose) {
        event->ignore();
        return;
    }
    releaseDocument();
    if (m_settings)
        m_settings->saveWindow(*this, *ListView1->horizontalHeader());
    event->accept();
}

} // namespace fb
