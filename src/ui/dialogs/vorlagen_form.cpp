#include "vorlagen_form.h"

#include "ui/fields/named_widget.h"
#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"
#include "ui/list/column_widths.h"
#include "ui/list/row_list_view.h"
#include "ui/window/run_command.h"

#include "ui/list/row_table_model.h"
#include "ui/window/prompts.h"
#include "vorlage_neu_form.h"

#include "core/error.h"
#include "model/trip_columns.h"
#include "model/trip_suggestions.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace fb {
namespace {

constexpr int kColumnWidths[] = {150, 90, 90, 70, 250, 80};
// The distance and the kind; the name, the places and the purpose may be cut off.
constexpr int kShortValueColumns[] = {1 + TemplateSubItem::Distance, 1 + TemplateSubItem::Kind};

} // namespace

TVorlagenForm::TVorlagenForm(Prompts &prompts, const QList<Row> &templates, QList<Row> trips,
                             std::optional<Row> lastEdited, ApplyOperation apply, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_apply(std::move(apply)), m_trips(std::move(trips)),
      m_lastEdited(std::move(lastEdited)),
      m_model(new RowTableModel(m_templates, templateColumnTitles(), this))
{
    m_templates.assign(templates);
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
    ListView1 = named(new RowListView(this), "ListView1");
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");

    ListView1->setModel(m_model);
    fitColumns(*ListView1, kColumnWidths, kShortValueColumns);

    for (QPushButton *button : {BackBtn, NewBtn, EditBtn, DeleteBtn, CopyBtn})
        button->setAutoDefault(false); // Enter in the list must not run a command by chance

    buildLayout();

    // The list first: the arrow keys pick a template, Tab reaches the commands.
    const QList<QWidget *> order = {ListView1, NewBtn, EditBtn, DeleteBtn, CopyBtn, BackBtn};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));

    connect(BackBtn, &QPushButton::clicked, this, &QDialog::accept);
    const std::pair<QPushButton *, void (TVorlagenForm::*)()> commands[] = {
        {NewBtn, &TVorlagenForm::NewBtnClick},
        {EditBtn, &TVorlagenForm::EditBtnClick},
        {DeleteBtn, &TVorlagenForm::DeleteBtnClick},
        {CopyBtn, &TVorlagenForm::CopyBtnClick},
    };
    for (const auto &[button, handler] : commands) {
        // The window stays after an error a command does not handle.
        connect(button, &QPushButton::clicked, this, [this, handler = handler] {
            runCommand(m_prompts, this, [this, handler] { (this->*handler)(); });
        });
    }
    // A double-click or Enter on a template changes it, as on a trip in the main window.
    connect(ListView1, &QAbstractItemView::doubleClicked, EditBtn, &QPushButton::click);
    connect(ListView1, &RowListView::openRequested, EditBtn, &QPushButton::click);

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

std::optional<Row> TVorlagenForm::editedTemplate(const std::optional<Row> &from)
{
    TVorlageNeuForm editor(m_prompts, this);
    // The editor shows what its previous use left in it, unless it shows a template.
    if (const std::optional<Row> &shown = from ? from : m_lastEdited)
        editor.setFromTemplate(*shown);
    editor.setSuggestions(
        std::make_shared<const TripSuggestions>(TripSuggestions::of(m_trips, m_templates.rows())));
    const bool confirmed = m_prompts.showModal(editor) == QDialog::Accepted;
    m_lastEdited = editor.templateRow();
    return confirmed ? m_lastEdited : std::nullopt;
}

void TVorlagenForm::newTemplate(const std::optional<Row> &from)
{
    const std::optional<Row> entry = editedTemplate(from);
    if (!entry)
        return;
    m_apply(NewTemplate{*entry});
    m_templates.append(*entry);
    ListView1->selectRow(int(m_templates.count() - 1));
}

void TVorlagenForm::NewBtnClick()
{
    newTemplate(std::nullopt);
}

void TVorlagenForm::EditBtnClick()
{
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    const std::optional<Row> entry = editedTemplate(m_templates.at(row));
    if (!entry)
        return;
    m_apply(ChangeTemplate{row, *entry});
    m_templates.replace(row, *entry);
}

void TVorlagenForm::CopyBtnClick()
{
    const int row = ListView1->selectedRow();
    if (row >= 0)
        newTemplate(m_templates.at(row));
}

void TVorlagenForm::DeleteBtnClick()
{
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    m_apply(DeleteTemplate{row});
    m_templates.remove(row);
}

} // namespace fb
