#include "protokoll_form.h"

#include "button_look.h"
#include "window_placement.h"

#include "model/entry_log_report.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fb {
namespace {

enum Column { When, Kind, Trip, OldValue, NewValue, Note, ColumnCount };

} // namespace

TProtokollForm::TProtokollForm(QWidget *parent)
    : QDialog(parent), m_summary(new QLabel(this)), m_list(new QTableWidget(0, ColumnCount, this)),
      OkBtn(new QPushButton(QStringLiteral("Schließen"), this))
{
    setObjectName(QStringLiteral("ProtokollForm"));
    setWindowTitle(QStringLiteral("Änderungsprotokoll"));
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setBuddy(m_list);
    m_summary->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("Events"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Zeitpunkt"), QStringLiteral("Art"),
                                       QStringLiteral("Fahrt"), QStringLiteral("Alter Wert"),
                                       QStringLiteral("Neuer Wert"), QStringLiteral("Hinweis")});
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    for (const auto &[column, width] :
         {std::pair{When, 115}, {Kind, 115}, {Trip, 135}, {OldValue, 320}, {NewValue, 320}})
        m_list->setColumnWidth(column, width);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    OkBtn->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(1200, 480);

    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int line) { choose(line); });
    connect(m_list, &QTableWidget::cellActivated, this, [this](int line) { choose(line); });
}

void TProtokollForm::showLog(const Logbook &logbook)
{
    const EntryLog &log = logbook.entryLog;
    const QList<ProtocolLine> lines = protocolLines(logbook);
    m_chosenTrip = -1;
    m_rows.clear();
    m_list->clearContents();
    m_list->setRowCount(int(lines.size()));
    for (int line = 0; line < int(lines.size()); ++line) {
        const ProtocolLine &event = lines.at(line);
        m_rows.append(event.row);
        const QStringList cells = {event.when,     event.kind,     event.trip,
                                   event.oldValue, event.newValue, event.note};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setToolTip(cells.at(column));
            m_list->setItem(line, column, item);
        }
    }
    if (log.isEmpty()) {
        m_summary->setText(QStringLiteral("Dieses Fahrtenbuch hat noch kein Änderungsprotokoll: "
                                          "es beginnt mit der ersten Fahrt, die hier erfasst, "
                                          "geändert oder gelöscht wird."));
    } else {
        m_summary->setText(QStringLiteral("%1. &Ereignisse: %2, Prüfwert %3 (Doppelklick zeigt "
                                          "die Fahrt)")
                               .arg(entryLogStateText(log))
                               .arg(log.events().size())
                               .arg(log.checkValue()));
    }
    m_list->setEnabled(!lines.isEmpty());
    if (!lines.isEmpty())
        m_list->selectRow(int(lines.size()) - 1);
}

void TProtokollForm::choose(int line)
{
    if (line < 0 || line >= m_rows.size() || m_rows.at(line) < 0)
        return;
    m_chosenTrip = m_rows.at(line);
    accept();
}

void TProtokollForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    (m_rows.isEmpty() ? static_cast<QWidget *>(OkBtn) : m_list)->setFocus();
    if (!m_rows.isEmpty())
        m_list->scrollToBottom();
}

} // namespace fb
