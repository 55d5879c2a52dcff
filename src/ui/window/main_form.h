#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QString>

#include "audit_export_command.h"
#include "export_command.h"
#include "print_commands.h"
#include "product.h"

#include "model/logbook_operation.h"
#include "ui/dialogs/fahrt_form.h"

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QPrinter;
class QPushButton;

namespace fb {

class EarlyLogbookRead;
class LogbookDocument;
class LogbookSession;
class Prompts;
class RunningTotals;
struct RecoveryOffer;
class TripListModel;
class TripListView;
class UserSettings;

// The main window: the trip list, the menu and the button bar, and the document as a whole
// with its file name and changed mark.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Prompts &prompts, int fontPixelsPerInch, QWidget *parent = nullptr);
    ~TMainForm() override;

    static QString baseCaption() { return kProductName; }

    LogbookSession &session() { return *m_session; }
    LogbookDocument &document() { return *m_document; }
    // The printer the print commands use, as the printer set-up left it; held for the run.
    // The system's default printer unless the window was given one.
    QPrinter &printer();
    void setPrinter(std::unique_ptr<QPrinter> printer);
    TripListView &tripList() { return *ListView1; }

    // The file to open when the window is first shown (the first command-line argument).
    void setStartFile(const QString &path) { m_startFile = path; }
    // The same with the file being read already since the program started.
    void setStartFile(const QString &path, std::unique_ptr<EarlyLogbookRead> read);
    // The folder of the recovery journals (see LogbookSession). Set it before the window is
    // first shown, which offers what a previous run left there.
    void setRecoveryFolder(const QString &folder);
    // Where the entry log of each logbook is remembered (see LogbookSession). Set it before
    // the window is first shown.
    void setEntryLogMemoryFolder(const QString &folder);
    // What the program remembers for the person between runs: the recent logbooks and the
    // window's place. Without it (as in tests that do not give one) nothing is remembered.
    // Restores the window's place at once.
    void setUserSettings(std::unique_ptr<UserSettings> settings);
    // Another window holds the logbook, or no lock can be made beside it: nothing that would
    // change the logbook can be done here, and it can only be saved under another name.
    bool isReadOnly() const;

    void SetChanged();
    void SetUnChanged();
    bool SaveFile();
    bool OpenFile();
    void UpdateKMSTands();
    double getlastkm();

    // Handlers of the menu and the button bar, by the file that holds them.
    // The document's file (file_commands.cpp).
    void Ne1Click();
    void ffnen1Click();
    void Speichern1Click();
    void Speichernunter1Click();
    void Beenden1Click();
    void QuitBtnClick();
    // The trips (trip_commands.cpp).
    void Neu1Click();
    void ndern1Click();
    void Kopieren1Click();
    // The way back of the selected trip (or the last live one): places swapped, departing when
    // it arrived and taking as long; a new trip once confirmed.
    void returnTrip();
    void Lschen1Click();
    // What the odometer showed, entered into the entry log (odometer_reading_command.cpp).
    void readOdometer();
    // The reports (report_commands.cpp).
    void Auswertunganzeigen1Click();
    void checkLogbook();
    void showEntryLog();
    // Printing, through LogbookPrintCommands (main_form.cpp, print_commands.h).
    void Drucke1Click();
    void Druckvorschau1Click();
    void Druckereinrichten1Click();
    // Master data, templates, export and the about box (main_form.cpp).
    void ndern3Click();
    void Verwalten1Click();
    void Exportieren1Click();
    void Betriebspruefung1Click();
    void ber1Click();
    // Beyond the designed menus: search, the recent logbooks and the next year's logbook
    // (daily_commands.cpp).
    void searchTrip();
    void searchAgain();
    void startNewYear();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildButtonBar(QWidget *bar);
    // The entry log's state and the totals, with a note that a passing message gives back.
    void buildStatusBar();
    QAction *addCommand(QMenu *menu, const QString &text, const char *name,
                        void (TMainForm::*handler)());
    // Runs a command of the menu, the button bar or the list; one that would change the
    // logbook does nothing in a read-only window.
    void runMenuCommand(void (TMainForm::*handler)());
    void FormShow();
    bool FormCloseQuery();
    bool maybeSave(const QString &question);
    void updateCaption();

    // The trip dialog's start readings for a new trip and for a change of the trip at row;
    // the trip dialog shown with the templates and completion lists of the logbook as it is
    // now, and the trip shown in it (none: empty texts), giving the trip confirmed; a trip
    // operation applied with the row it wrote shown (trip_commands.cpp).
    TFahrtForm::StartReadingAt newTripReadings() const;
    TFahrtForm::StartReadingAt changedTripReadings(int row) const;
    std::optional<Row> askForTrip(TFahrtForm::StartReadingAt readings, const Row *shown);
    void applyAndShow(const LogbookOperation &operation);

    // The document's file, through the session (file_commands.cpp).
    bool openLogbook(const QString &path);
    bool saveTo(const QString &path);
    // A new, unnamed logbook in place of the one given up.
    void startUntitled();
    // Asks the question of a recovery offer, or shows its message; false when there is none.
    bool answerRecovery(const RecoveryOffer &offer);
    // The window's parent for messages: none while it is not shown yet.
    QWidget *promptParent();
    void showMessages(const QStringList &messages);
    bool askYesNo(const QString &question, QMessageBox::StandardButton defaultAnswer);
    // The commands and the status bar as the session's access to the document allows.
    void showDocumentAccess();
    void setChangingCommandsEnabled(bool enabled);
    // Shows the note on a read-only document in the status bar, again after a passing message.
    void showAccessNote();

    // Recent logbooks, the totals, search (daily_commands.cpp).
    void rememberFile(const QString &path);
    void updateRecentFilesMenu();
    void openRecentFile(const QString &path);
    void updateTotals();
    void findNextTrip();
    void askToDeleteTrip();

    Prompts &m_prompts;
    // The document and its life on disk, a child of the window (see the constructor).
    LogbookSession *m_session;
    LogbookDocument *m_document;
    std::unique_ptr<RunningTotals> m_runningTotals;
    TripListModel *m_tripModel;
    TripListView *ListView1;
    QLabel *m_entryLogState;
    std::unique_ptr<LogbookPrintCommands> m_printCommands;
    TripExportCommand m_exportCommand; // SaveDialog2's remembered folder and name
    AuditExportCommand m_auditExportCommand;
    QString m_startFile;
    QList<QObject *> m_changingCommands;
    std::unique_ptr<UserSettings> m_settings;
    QMenu *m_recentMenu = nullptr;
    QLabel *m_totals = nullptr;
    QString m_accessNote;
    QString m_searchText;
    // What the trip dialog shows again at its next showing: the moments and the kind it held
    // when it was last closed.
    struct TripDialogMemory {
        QDateTime departure;
        QDateTime arrival;
        bool business = true;
    };
    TripDialogMemory m_tripDialogMemory;
    // What the template editor held when it was last closed.
    std::optional<Row> m_lastEditedTemplate;
    bool m_shown = false;
};

} // namespace fb
