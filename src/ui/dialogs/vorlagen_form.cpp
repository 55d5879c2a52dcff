#include "vorlagen_form.h"

#include "ui/fields/named_widget.h"
#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"
#include "ui/list/column_widths.h"
#include "session/file_messages.h"

#include "ui/list/row_table_model.h"
#include "ui/window/prompts.h"
#include "vorlage_neu_form.h"

#include "core/error.h"
#include "model/row_table.h"
#include "model/trip_columns.h"
#include "model/trip_suggestions.h"
#include "storage/logbook_document.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace fb {
namespace {

constexpr int kColumnWidths[] = {150, 90, 90, 70, 250, 80};
// The distance and the kind; the name, the places and the purpose may be cut off.
constexpr int kShortValueColumns[] = {1 + TemplateSubItem::Distance, 1 + TemplateSubItem::Kind};

} // namespace

TVorlagenForm::TVorlagenForm(Prompts &prompts, LogbookDocument &document, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_document(document),
      m_templates(document.logbook().templates),
      m_model(new RowTableModel(document.logbook().templates, templateColumnTitles(), this)),
      m_editor(new TVorlageNeuForm(prompts, this))
{
    setObjectName(QStringLiteral("VorlagenForm"));
    setWindowTitle(QStringLiteral("Vorlagen verwalten"));
    // A window of its own with the frame's buttons, not a small dialog.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(false);

    BackBtn =
        named(new QPushButton(QStringLiteral("&Zurück zur Fahrtenverwaltung..."), this), "BackBtn");
    NewBtn = named(new QPushButton(QStringLiteral("&Neue Vorlage..."), this), "NewBtn");
    EditBtn = named(new QPushButton(QStringLiteral("Vorlage ände&rn..."), this), "EditBtn");
    DeleteBtn = named(new QPushButton(QStringLiteral("Vorlage &löschen..."), this), "DeleteBtn");
    CopyBtn = named(new QPushButton(QStringLiteral("Vorlage &kopieren..."), this), "CopyBtn");
    setButtonLook(*BackBtn, ButtonIcon::Back);
    setButtonLook(*NewBtn, ButtonIcon::New);
    setButtonLook(*EditBtn, ButtonIcon::Change);
    setButtonLook(*DeleteBtn, ButtonIcon::Delete);
    setButtonLook(*CopyBtn, ButtonIcon::Copy);
    ListView1 = named(new QTableView(this), "ListView1");
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");

    ListView1->setModel(m_model);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setWordWrap(false);
    ListView1->setTabKeyNavigation(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    fitColumns(*ListView1, kColumnWidths, kShortValueColumns);
    // The selected template stays visible while a button has the focus.
    QPalette colours = ListView1->palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(colours);

    for (QPushButton *button : {BackBtn, NewBtn, EditBtn, DeleteBtn, CopyBtn})
        button->setAutoDefault(false); // Enter in the list must not run a command by chance

    buildLayout();

    // The list first: the arrow keys pick a template, Tab reaches the commands.
    const QList<QWidget *> order = {ListView1, NewBtn, EditBtn, DeleteBtn, CopyBtn, BackBtn};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));

    connect(BackBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(NewBtn, &QPushButton::clicked, this,
            [this] { runCommand(&TVorlagenForm::NewBtnClick); });
    connect(EditBtn, &QPushButton::clicked, this,
            [this] { runCommand(&TVorlagenForm::EditBtnClick); });
    connect(DeleteBtn, &QPushButton::clicked, this,
            [this] { runCommand(&TVorlagenForm::DeleteBtnClick); });
    connect(CopyBtn, &QPushButton::clicked, this,
            [this] { runCommand(&TVorlagenForm::CopyBtnClick); });
    // A double-click or Enter on a template changes it, as on a trip in the main window.
    connect(ListView1, &QAbstractItemView::doubleClicked, this,
            [this] { runCommand(&TVorlagenForm::EditBtnClick); });
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto *enter =
            new QShortcut(QKeySequence(key), ListView1, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this,
                [this] { runCommand(&TVorlagenForm::EditBtnClick); });
    }

    resize(780, 580);
}

void TVorlagenForm::buildLayout()
{
    auto *backBar = new QHBoxLayout;
    backBar->setContentsMargins(8, 8, 8, 4);
    backBar->addWidget(BackBtn);
    backBar->addStretch();

    auto *commandBar = new QHBoxLayout;
    commandBar->setContentsMargins(8, 4, 8, 8);
    for (QPushButton *button : {NewBtn, EditBtn, DeleteBtn, CopyBtn})
        commandBar->addWidget(button);
    commandBar->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(backBar);
    layout->addLayout(commandBar);
    layout->addWidget(ListView1, 1);
    layout->addWidget(StatusBar1);
}

void TVorlagenForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    ListView1->setFocus(Qt::OtherFocusReason);
}

void TVorlagenForm::runCommand(void (TVorlagenForm::*handler)())
{
    // An error a command does not handle ends the command; the window stays.
    try {
        (this->*handler)();
    } catch (const Error &error) {
        m_prompts.showError(this, commandErrorMessage(error));
    }
}

int TVorlagenForm::selectedRow() const
{
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void TVorlagenForm::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    ListView1->setCurrentIndex(index);
    ListView1->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
}

bool TVorlagenForm::editorConfirmed()
{
    m_editor->setSuggestions(std::make_shared<const TripSuggestions>(
        TripSuggestions::of(m_document.logbook().trips, m_templates)));
    return m_prompts.showModal(*m_editor) == QDialog::Accepted;
}

void TVorlagenForm::NewBtnClick()
{
    // The editor shows what its previous use left in it.
    if (!editorConfirmed())
        return;
    selectRow(int(m_document.apply(NewTemplate{m_editor->templateRow()})));
}

void TVorlagenForm::EditBtnClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_editor->setFromTemplate(m_templates.at(row));
    if (!editorConfirmed())
        return;
    m_document.apply(ChangeTemplate{row, m_editor->templateRow()});
}

void TVorlagenForm::CopyBtnClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_editor->setFromTemplate(m_templates.at(row));
    NewBtnClick();
}

void TVorlagenForm::DeleteBtnClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_document.apply(DeleteTemplate{row});
}

} // namespace fb
