// What people who keep a logbook every day expect besides the designed commands: the recent
// logbooks, the totals of the live trips, search, a question before the Delete key deletes,
// and the next year's logbook started from this year's final reading.
#include "main_form.h"

#include "prompts.h"
#include "running_totals.h"
#include "session/file_messages.h"
#include "session/logbook_session.h"
#include "ui/list/trip_list_view.h"
#include "user_settings.h"

#include "checks/trip_search.h"
#include "core/error.h"
#include "model/odometer.h"
#include "storage/logbook_document.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include <cmath>
#include <limits>

namespace fb {
namespace {

constexpr int kNotFoundShownMs = 5000;

} // namespace

// --- Recent logbooks ----------------------------------------------------------------------

void TMainForm::setUserSettings(std::unique_ptr<UserSettings> settings)
{
    m_settings = std::move(settings);
    if (m_settings)
        m_settings->restoreWindow(*this, *ListView1->horizontalHeader());
    updateRecentFilesMenu();
}

void TMainForm::rememberFile(const QString &path)
{
    // Only what is on the disk: a new logbook named on the command line is not yet.
    if (!m_settings || !QFileInfo(path).isFile())
        return;
    m_settings->addRecentFile(path);
    updateRecentFilesMenu();
}

void TMainForm::updateRecentFilesMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const QStringList files = m_settings ? m_settings->recentFiles() : QStringList();
    int number = 0;
    for (const QString &path : files) {
        ++number;
        const QFileInfo file(path);
        QAction *entry =
            m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(file.fileName()));
        entry->setObjectName(QStringLiteral("Zuletzt%1").arg(number));
        entry->setToolTip(QDir::toNativeSeparators(file.absolutePath()));
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] {
            try {
                openRecentFile(path);
            } catch (const Error &error) {
                m_prompts.showError(this, error.message());
            }
            updateTotals();
        });
    }
    m_recentMenu->menuAction()->setEnabled(!files.isEmpty());
}

void TMainForm::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_settings->removeRecentFile(path);
        updateRecentFilesMenu();
        m_prompts.showError(this, QStringLiteral("Die Datei \"%1\" gibt es nicht mehr; sie wird "
                                                 "aus der Liste \"Zuletzt geöffnet\" entfernt")
                                      .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (maybeSave(kNotSavedQuestion))
        openLogbook(path);
}

// --- Totals -------------------------------------------------------------------------------

void TMainForm::updateTotals()
{
    if (m_totals)
        m_totals->setText(m_runningTotals->text());
}

// --- Search -------------------------------------------------------------------------------

void TMainForm::searchTrip()
{
    const QString text = m_prompts.askText(this, QStringLiteral("Suchen"),
                                           QStringLiteral("Fahrt suchen (Datum, Ort, Fahrtzweck "
                                                          "oder Art der Fahrt):"),
                                           m_searchText);
    if (text.isNull())
        return;
    m_searchText = text;
    findNextTrip();
}

void TMainForm::searchAgain()
{
    if (m_searchText.isEmpty())
        return searchTrip();
    findNextTrip();
}

void TMainForm::findNextTrip()
{
    const qsizetype found =
        findTrip(m_document->logbook().trips, m_searchText, ListView1->selectedRow());
    if (found < 0) {
        statusBar()->showMessage(QStringLiteral("\"%1\" nicht gefunden").arg(m_searchText),
                                 kNotFoundShownMs);
        return;
    }
    ListView1->selectRow(int(found));
}

// --- The Delete key -----------------------------------------------------------------------

void TMainForm::askToDeleteTrip()
{
    if (isReadOnly() || ListView1->selectedRow() < 0)
        return;
    // A stray key must not delete a trip: the question defaults to "Nein".
    if (m_prompts.askYesNo(this, QCoreApplication::applicationName(),
                           QStringLiteral("Fahrt wirklich löschen?"),
                           QMessageBox::No) == QMessageBox::Yes)
        runMenuCommand(&TMainForm::Lschen1Click);
}

// --- The next year ------------------------------------------------------------------------

void TMainForm::startNewYear()
{
    if (!maybeSave(kNotSavedBeforeNewQuestion))
        return;
    m_session->startNewYear(getlastkm());
    showDocumentAccess();
}

} // namespace fb
