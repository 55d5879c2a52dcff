// The main window's file commands: New, Open, Save, Save as and closing. What keeps a logbook
// from being lost (the lock, the recovery journal) is the session's; the window asks what the
// session has to ask and shows what it has to tell.
#include "main_form.h"

#include "prompts.h"
#include "ui/list/trip_list_view.h"
#include "user_settings.h"

#include "core/file_error.h"
#include "session/file_messages.h"
#include "session/logbook_session.h"
#include "storage/logbook_document.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QStatusBar>
#include <QWidget>

namespace fb {
namespace {

const FileKind kLogbookFiles{QStringLiteral("Fahrtenbuch-Datei (*.fbu)"), QStringLiteral("fbu")};
const QString kSaveQuestionTitle = QStringLiteral("Speichern");

} // namespace

void TMainForm::setRecoveryFolder(const QString &folder)
{
    m_session->setRecoveryFolder(folder);
}

void TMainForm::setEntryLogMemoryFolder(const QString &folder)
{
    m_session->setEntryLogMemoryFolder(folder);
}

void TMainForm::setStartFile(const QString &path, std::unique_ptr<EarlyLogbookRead> read)
{
    m_startFile = path;
    m_session->expectOpening(std::move(read));
}

bool TMainForm::isReadOnly() const
{
    return m_session->isReadOnly();
}

// --- What the session has to ask and tell -------------------------------------------------

QWidget *TMainForm::promptParent()
{
    return isVisible() ? this : nullptr;
}

void TMainForm::showMessages(const QStringList &messages)
{
    for (const QString &message : messages)
        m_prompts.showError(promptParent(), message);
}

bool TMainForm::askYesNo(const QString &question, QMessageBox::StandardButton defaultAnswer)
{
    return m_prompts.askYesNo(promptParent(), QCoreApplication::applicationName(), question,
                              defaultAnswer) == QMessageBox::Yes;
}

void TMainForm::showDocumentAccess()
{
    setChangingCommandsEnabled(!isReadOnly());
    m_accessNote = m_session->accessNote();
    if (m_accessNote.isEmpty())
        statusBar()->clearMessage();
    showAccessNote();
}

void TMainForm::showAccessNote()
{
    // The totals beside it leave the note little room at the window's usual width: the whole
    // reason stays readable where the pointer rests on it.
    statusBar()->setToolTip(m_accessNote);
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

void TMainForm::startUntitled()
{
    m_session->startUntitled();
    showDocumentAccess();
}

bool TMainForm::answerRecovery(const RecoveryOffer &offer)
{
    if (offer.isEmpty())
        return false;
    if (!offer.message.isEmpty()) {
        m_prompts.showError(promptParent(), offer.message);
        return true;
    }
    const QString damaged = m_session->recover(askYesNo(offer.question, QMessageBox::Yes));
    if (!damaged.isEmpty())
        m_prompts.showError(promptParent(), damaged);
    return true;
}

// --- Opening ------------------------------------------------------------------------------

bool TMainForm::openLogbook(const QString &path)
{
    const QString question = m_session->questionBeforeOpening(path);
    if (!question.isEmpty() && !askYesNo(question, QMessageBox::Yes))
        return false;
    const OpenOutcome outcome = m_session->open(path);
    if (outcome.opened)
        showDocumentAccess();
    if (outcome.readWhole())
        rememberFile(path);
    showMessages(outcome.messages);
    if (!outcome.mayRecover())
        return outcome.opened;
    try {
        answerRecovery(m_session->offerRecovery());
    } catch (const FileError &error) {
        m_prompts.showError(promptParent(), cannotOpenMessage(path, error));
    } catch (const Error &error) {
        m_prompts.showError(promptParent(), error.message());
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
    if (!document().isChanged())
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
    if (const QString question = m_session->questionBeforeSaving(path);
        !question.isEmpty() && !askYesNo(question, QMessageBox::No))
        return false;
    // The user must know the trips are not on disk; the changed mark stays.
    if (const QString failure = m_session->saveTo(path); !failure.isEmpty()) {
        m_prompts.showError(this, failure);
        return false;
    }
    showDocumentAccess();
    rememberFile(path);
    return true;
}

bool TMainForm::SaveFile()
{
    // A read-only window saves only under another name.
    if (!document().fileName().isEmpty() && !isReadOnly())
        return saveTo(document().fileName());
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
    m_session->release();
    if (m_settings)
        m_settings->saveWindow(*this, *ListView1->horizontalHeader());
    event->accept();
}

} // namespace fb
