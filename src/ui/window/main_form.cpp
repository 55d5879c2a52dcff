#include "main_form.h"

#include "about_box.h"
#include "prompts.h"
#include "run_command.h"
#include "running_totals.h"
#include "ui/dialogs/stamm_form.h"
#include "ui/dialogs/vorlagen_form.h"
#include "ui/fields/button_look.h"
#include "ui/list/column_widths.h"
#include "ui/list/trip_list_model.h"
#include "ui/list/trip_list_view.h"
#include "user_settings.h"

#include "checks/entry_log_report.h"
#include "checks/evaluation.h"
#include "checks/plausibility.h"
#include "core/error.h"
#include "core/ole_date.h"
#include "model/odometer.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"
#include "session/logbook_session.h"
#include "storage/logbook_document.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace fb {
namespace {

// The designed face where it exists, else a sans serif of about its width: the columns were
// sized for it.
QFont designedFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

// The trips' ten columns, then "Erfasst am" and "Gelöscht am".
constexpr int kColumnWidths[] = {140, 90, 140, 90, 70, 250, 80, 50, 75, 75, 110, 110};
// All but the places and the purpose, whose free texts may be cut off.
constexpr int kShortValueColumns[] = {0, 2, 4, 6, 7, 8, 9, 10, 11};

// The commands a read-only window does not offer: they change the logbook or write its file.
bool changesTheLogbook(void (TMainForm::*handler)())
{
    for (const auto changing :
         {&TMainForm::Speichern1Click, &TMainForm::Neu1Click, &TMainForm::ndern1Click,
          &TMainForm::Lschen1Click, &TMainForm::Kopieren1Click, &TMainForm::returnTrip,
          &TMainForm::Verwalten1Click, &TMainForm::ndern3Click, &TMainForm::readOdometer})
        if (handler == changing)
            return true;
    return false;
}

} // namespace

TMainForm::TMainForm(Prompts &prompts, int fontPixelsPerInch, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("MainForm"));
    setFont(designedFont(8));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *buttonBar = new QWidget(central);
    buttonBar->setObjectName(QStringLiteral("ButtonBar"));
    buttonBar->setFixedHeight(41);
    layout->addWidget(buttonBar);

    // Made after the list's parent: a window deletes its children in the order they were
    // made, so the list and its model, which read the document's tables, go first.
    m_session = new LogbookSession(fontPixelsPerInch, this);
    m_document = &m_session->document();
    m_runningTotals = std::make_unique<RunningTotals>(*m_document);
    m_tripModel =
        new TripListModel(m_document->logbook().trips, m_document->logbook().entryLog, central);
    ListView1 = new TripListView(central);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    QFont listFont = designedFont(8);
    listFont.setPixelSize(13);
    ListView1->setFont(listFont);
    ListView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 4);
    ListView1->setTripModel(m_tripModel);
    fitColumns(*ListView1, kColumnWidths, kShortValueColumns);
    layout->addWidget(ListView1, 1);
    setCentralWidget(central);

    buildStatusBar();

    m_printCommands = std::make_unique<LogbookPrintCommands>(m_prompts, *m_document);

    buildMenu();
    buildButtonBar(buttonBar);
    connect(ListView1, &QAbstractItemView::doubleClicked, this,
            [this] { runMenuCommand(&TMainForm::ndern1Click); });
    connect(ListView1, &TripListView::openRequested, this,
            [this] { runMenuCommand(&TMainForm::ndern1Click); });
    connect(ListView1, &TripListView::deleteRequested, this, &TMainForm::askToDeleteTrip);
    connect(m_document, &LogbookDocument::captionChanged, this, &TMainForm::updateCaption);
    connect(m_document, &LogbookDocument::entryLogChanged, this, [this] {
        m_entryLogState->setText(entryLogStateText(m_document->logbook().entryLog));
        m_tripModel->entryLogChanged();
    });

    resize(780, 582);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    // The list fills the window: its last column takes what the others leave.
    ListView1->horizontalHeader()->setStretchLastSection(true);
    SetUnChanged();
    updateTotals();
}

// Out of line: the members' types are complete only here.
TMainForm::~TMainForm() = default;

QAction *TMainForm::addCommand(QMenu *menu, const QString &text, const char *name,
                               void (TMainForm::*handler)())
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    if (changesTheLogbook(handler))
        m_changingCommands.append(action);
    connect(action, &QAction::triggered, this, [this, handler] { runMenuCommand(handler); });
    return action;
}

void TMainForm::buildStatusBar()
{
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setFixedHeight(19);
    setStatusBar(status);
    m_entryLogState = new QLabel(status);
    m_entryLogState->setObjectName(QStringLiteral("EntryLogState"));
    // Set apart from the totals beside it: the two say different things.
    m_entryLogState->setContentsMargins(0, 0, 12, 0);
    status->addPermanentWidget(m_entryLogState);
    m_totals = new QLabel(status);
    m_totals->setObjectName(QStringLiteral("Totals"));
    status->addPermanentWidget(m_totals);
    // A passing message (a search that found nothing) must not take a read-only note away.
    connect(status, &QStatusBar::messageChanged, this, [this](const QString &message) {
        if (message.isEmpty())
            showAccessNote();
    });
}

void TMainForm::buildMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    addCommand(file, QStringLiteral("&Neu"), "Ne1", &TMainForm::Ne1Click);
    addCommand(file, QStringLiteral("Ö&ffnen"), "ffnen1", &TMainForm::ffnen1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_recentMenu = file->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    m_recentMenu->setObjectName(QStringLiteral("Zuletztgeffnet1"));
    m_recentMenu->setToolTipsVisible(true);
    updateRecentFilesMenu();
    addCommand(file, QStringLiteral("&Speichern"), "Speichern1", &TMainForm::Speichern1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(file, QStringLiteral("Speichern &unter..."), "Speichernunter1",
               &TMainForm::Speichernunter1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addCommand(file, QStringLiteral("E&xportieren..."), "Exportieren1",
               &TMainForm::Exportieren1Click);
    addCommand(file, QStringLiteral("Für Betriebs&prüfung exportieren..."), "Betriebspruefung1",
               &TMainForm::Betriebspruefung1Click);
    addCommand(file, QStringLiteral("Neues &Jahr beginnen..."), "NeuesJahr1",
               &TMainForm::startNewYear);
    file->addSeparator();
    addCommand(file, QStringLiteral("&Drucken..."), "Drucke1", &TMainForm::Drucke1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    addCommand(file, QStringLiteral("Druck&vorschau..."), "Druckvorschau1",
               &TMainForm::Druckvorschau1Click);
    addCommand(file, QStringLiteral("Drucker &einrichten..."), "Druckereinrichten1",
               &TMainForm::Druckereinrichten1Click);
    file->addSeparator();
    addCommand(file, QStringLiteral("&Beenden"), "Beenden1", &TMainForm::Beenden1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *trip = menuBar()->addMenu(QStringLiteral("&Fahrt"));
    trip->setObjectName(QStringLiteral("Fahrt1"));
    addCommand(trip, QStringLiteral("&Neu"), "Neu1", &TMainForm::Neu1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(trip, QStringLiteral("&Ändern"), "ndern1", &TMainForm::ndern1Click);
    addCommand(trip, QStringLiteral("&Löschen"), "Lschen1", &TMainForm::Lschen1Click);
    addCommand(trip, QStringLiteral("&Kopieren"), "Kopieren1", &TMainForm::Kopieren1Click);
    addCommand(trip, QStringLiteral("&Rückfahrt..."), "Rueckfahrt1", &TMainForm::returnTrip)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addCommand(trip, QStringLiteral("Kilometerstand &ablesen..."), "Kilometerstandablesen1",
               &TMainForm::readOdometer);
    trip->addSeparator();
    addCommand(trip, QStringLiteral("&Suchen..."), "Suchen1", &TMainForm::searchTrip)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addCommand(trip, QStringLiteral("&Weitersuchen"), "Weitersuchen1", &TMainForm::searchAgain)
        ->setShortcut(QKeySequence(Qt::Key_F3));

    QMenu *templates = menuBar()->addMenu(QStringLiteral("&Vorlagen"));
    templates->setObjectName(QStringLiteral("Vorlagen1"));
    addCommand(templates, QStringLiteral("&Verwalten..."), "Verwalten1",
               &TMainForm::Verwalten1Click);

    QMenu *master = menuBar()->addMenu(QStringLiteral("&Stammdaten"));
    master->setObjectName(QStringLiteral("Stammdaten1"));
    addCommand(master, QStringLiteral("Ä&ndern..."), "ndern3", &TMainForm::ndern3Click);

    QMenu *evaluation = menuBar()->addMenu(QStringLiteral("&Auswertung"));
    evaluation->setObjectName(QStringLiteral("Auswertung1"));
    addCommand(evaluation, QStringLiteral("Auswertung &anzeigen..."), "Auswertunganzeigen1",
               &TMainForm::Auswertunganzeigen1Click);
    addCommand(evaluation, QStringLiteral("Fahrtenbuch &prüfen..."), "Fahrtenbuchprfen1",
               &TMainForm::checkLogbook);
    addCommand(evaluation, QStringLiteral("Ä&nderungsprotokoll anzeigen..."),
               "nderungsprotokollanzeigen1", &TMainForm::showEntryLog);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe1"));
    addCommand(help, QStringLiteral("Ü&ber"), "ber1", &TMainForm::ber1Click);
}

void TMainForm::buildButtonBar(QWidget *bar)
{
    struct ButtonPlace {
        const char *name;
        QString text;
        int left;
        int width;
        void (TMainForm::*handler)();
        ButtonIcon icon;
    };
    const ButtonPlace buttons[] = {
        // Access keys beside the menu bar's D, F, V, S, A and H.
        {"BitBtn1", QStringLiteral("&Neue Fahrt..."), 8, 97, &TMainForm::Neu1Click,
         ButtonIcon::New},
        {"BitBtn2", QStringLiteral("Fahrt ände&rn..."), 112, 105, &TMainForm::ndern1Click,
         ButtonIcon::Change},
        {"BitBtn3", QStringLiteral("Fahrt &löschen..."), 224, 105, &TMainForm::Lschen1Click,
         ButtonIcon::Delete},
        {"BitBtn4", QStringLiteral("Fahrt &kopieren..."), 336, 121, &TMainForm::Kopieren1Click,
         ButtonIcon::Copy},
        {"QuitBtn", QStringLiteral("&Beenden"), 480, 121, &TMainForm::QuitBtnClick,
         ButtonIcon::Quit},
    };
    for (const ButtonPlace &place : buttons) {
        auto *button = new QPushButton(place.text, bar);
        button->setObjectName(QLatin1String(place.name));
        setButtonLook(*button, place.icon);
        button->setGeometry(place.left, 8, place.width, 25);
        // No button answers Enter or Escape: a stray key must not delete a trip.
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this,
                [this, handler = place.handler] { runMenuCommand(handler); });
        if (changesTheLogbook(place.handler))
            m_changingCommands.append(button);
    }
}

void TMainForm::runMenuCommand(void (TMainForm::*handler)())
{
    if (isReadOnly() && changesTheLogbook(handler))
        return; // a double-click or Enter on a trip in a read-only window
    // The program goes on after an error a command does not handle.
    runCommand(m_prompts, isVisible() ? this : nullptr, [this, handler] { (this->*handler)(); });
    updateTotals();
}

void TMainForm::updateCaption()
{
    setWindowTitle(m_document->caption(baseCaption()));
}

void TMainForm::SetChanged()
{
    m_document->SetChanged();
}

void TMainForm::SetUnChanged()
{
    m_document->SetUnChanged();
}

void TMainForm::UpdateKMSTands()
{
    fb::UpdateKMSTands(m_document->logbook());
}

double TMainForm::getlastkm()
{
    return fb::getlastkm(m_document->logbook());
}

// --- Start --------------------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void TMainForm::FormShow()
{
    // The dialog's moments start at the first showing, not at the window's creation.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime wallClock(now.date(),
                              QTime(now.time().hour(), now.time().minute(), now.time().second()));
    m_tripDialogMemory.departure = m_tripDialogMemory.arrival = wallClock;
    PrintSettings &print = m_document->logbook().print;
    print.rangeFrom = print.rangeTo = toOleDate(wallClock);
    // Shown before the window appears. A file that cannot be opened leaves the untitled
    // document; a name where no file is yet names a new logbook that "Speichern" makes there.
    try {
        if (!m_startFile.isEmpty())
            openLogbook(m_startFile);
        else
            answerRecovery(m_session->offerUntitledRecovery());
    } catch (const Error &error) {
        m_prompts.showError(nullptr, error.message());
    }
    // A start file read early and then not opened (the question answered no) would keep its
    // whole logbook until the next opening.
    m_session->expectOpening(nullptr);
    updateTotals();
}

// --- Templates ------------------------------------------------------------------------------

void TMainForm::Verwalten1Click()
{
    const Logbook &logbook = m_document->logbook();
    TVorlagenForm window(
        m_prompts, logbook.templates.rows(), logbook.trips.rows(), m_lastEditedTemplate,
        [this](const LogbookOperation &operation) { m_document->apply(operation); }, this);
    m_prompts.showModal(window);
    m_lastEditedTemplate = window.lastEdited();
    // Whatever was done in the window, the template table may have changed.
    SetChanged();
}

// --- Master data ----------------------------------------------------------------------------

void TMainForm::ndern3Click()
{
    // However the dialog was closed, its changes count.
    TStammForm dialog(m_prompts, m_document->logbook().master, this);
    m_prompts.showModal(dialog);
    m_document->apply(SetMasterData{dialog.record()});
}

// --- Printing -----------------------------------------------------------------------------

QPrinter &TMainForm::printer()
{
    return m_printCommands->printer();
}

void TMainForm::setPrinter(std::unique_ptr<QPrinter> printer)
{
    m_printCommands->setPrinter(std::move(printer));
}

void TMainForm::Drucke1Click()
{
    if (!m_printCommands->chooseOptions(this))
        return;
    // The settings are part of the logbook, and the user confirmed them.
    SetChanged();
    m_printCommands->print();
}

void TMainForm::Druckvorschau1Click()
{
    if (!m_printCommands->chooseOptions(this))
        return;
    if (m_printCommands->preview(this))
        SetChanged(); // printed from the preview
}

void TMainForm::Druckereinrichten1Click()
{
    m_printCommands->setUpPrinter(this);
}

// --- Export -------------------------------------------------------------------------------

void TMainForm::Exportieren1Click()
{
    m_exportCommand.run(this, m_prompts, *m_document);
}

void TMainForm::Betriebspruefung1Click()
{
    m_auditExportCommand.run(this, m_prompts, *m_document);
}

// --- Help ---------------------------------------------------------------------------------

void TMainForm::ber1Click()
{
    TAboutBox about(this);
    m_prompts.showModal(about);
}

} // namespace fb
