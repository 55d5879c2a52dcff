#include "pruefung_form.h"

#include "button_look.h"
#include "window_placement.h"

#include "core/error.h"
#include "model/text_forms.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fb {
namespace {

QString departureShown(const QString &caption)
{
    try {
        return parseDateTimeText(caption).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    } catch (const ConversionError &) {
        return fileTextForMessage(caption);
    }
}

} // namespace

TPruefungForm::TPruefungForm(QWidget *parent)
    : QDialog(parent), m_summary(new QLabel(this)), m_list(new QTableWidget(0, 3, this)),
      OkBtn(new QPushButton(QStringLiteral("Schließen"), this))
{
    setObjectName(QStringLiteral("PruefungForm"));
    setWindowTitle(QStringLiteral("Fahrtenbuch prüfen"));
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setBuddy(m_list);
    m_list->setObjectName(QStringLiteral("Findings"));
    m_list->setHorizontalHeaderLabels(
        {QStringLiteral("Fahrt"), QStringLiteral("Abfahrt"), QStringLiteral("Auffälligkeit")});
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnWidth(0, 60);
    m_list->setColumnWidth(1, 120);
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
    resize(720, 420);

    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int line) { choose(line); });
    connect(m_list, &QTableWidget::cellActivated, this, [this](int line) { choose(line); });
}

void TPruefungForm::showFindings(const RowTable &trips, const std::vector<Finding> &findings)
{
    m_findings = findings;
    m_chosenTrip = -1;
    m_list->clearContents();
    m_list->setRowCount(int(findings.size()));
    for (int line = 0; line < int(findings.size()); ++line) {
        const Finding &finding = findings.at(std::size_t(line));
        const QStringList cells = {QString::number(finding.row + 1),
                                   departureShown(trips.at(finding.row).caption), finding.text};
        for (int column = 0; column < cells.size(); ++column)
            m_list->setItem(line, column, new QTableWidgetItem(cells.at(column)));
    }
    m_summary->setText(findings.empty()
                           ? QStringLiteral("Keine Auffälligkeiten gefunden.")
                           : QStringLiteral("&Auffälligkeiten: %1 (Doppelklick zeigt die Fahrt)")
                                 .arg(findings.size()));
    m_list->setEnabled(!findings.empty());
    if (!findings.empty())
        m_list->selectRow(0);
}

void TPruefungForm::choose(int line)
{
    if (line < 0 || line >= int(m_findings.size()))
        return;
    m_chosenTrip = m_findings.at(std::size_t(line)).row;
    accept();
}

void TPruefungForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    (m_findings.empty() ? static_cast<QWidget *>(OkBtn) : m_list)->setFocus();
}

} // namespace fb
