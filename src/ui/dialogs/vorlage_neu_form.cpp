#include "vorlage_neu_form.h"

#include "ui/fields/button_row.h"
#include "ui/fields/named_widget.h"
#include "ui/window/window_placement.h"

#include "ui/fields/button_look.h"
#include "ui/fields/caption_width.h"
#include "ui/fields/input_checks.h"
#include "ui/fields/text_from_start.h"
#include "ui/fields/trip_fields.h"
#include "ui/window/prompts.h"

#include "model/text_forms.h"
#include "model/trip_columns.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace fb {

TVorlageNeuForm::TVorlageNeuForm(Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_fields(new TripFields(TripFields::Moments::None, this))
{
    setObjectName(QStringLiteral("VorlageNeuForm"));
    setWindowTitle(QStringLiteral("Neue Vorlage oder Vorlage bearbeiten"));

    DescEd = named(new QLineEdit(this), "DescEd");
    OkBtn = named(new QPushButton(QStringLiteral("OK"), this), "OkBtn");
    BitBtn2 = named(new QPushButton(QStringLiteral("Abbrechen"), this), "BitBtn2");
    setButtonLook(*OkBtn, ButtonIcon::Ok);
    setButtonLook(*BitBtn2, ButtonIcon::Cancel);
    OkBtn->setDefault(true);

    buildLayout();
    m_fields->setKeyboardOrder(DescEd, {OkBtn, BitBtn2});

    connect(OkBtn, &QPushButton::clicked, this, &TVorlageNeuForm::OkBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TVorlageNeuForm::buildLayout()
{
    m_fields->setLeadingRow(QStringLiteral("&Bezeichnung:"), DescEd);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fields, 1);
    layout->addLayout(buttonRow({OkBtn, BitBtn2}));
    // As designed, but wide enough for the title bar to show the whole caption.
    setFixedSize(std::max(352, widthShowingCaption(windowTitle())), 322);
}

void TVorlageNeuForm::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
    DescEd->setFocus(Qt::TabFocusReason);
    selectAllFromStart(*DescEd);
}

void TVorlageNeuForm::setSuggestions(std::shared_ptr<const TripSuggestions> suggestions)
{
    m_fields->setSuggestions(std::move(suggestions));
}

void TVorlageNeuForm::setFromTemplate(const Row &entry)
{
    // Parsed first, so that a template that cannot be shown leaves the fields as they were.
    parseNumberText(entry.subItem(TemplateSubItem::Distance));
    fillFromStart(*DescEd, entry.caption);
    m_fields->applyTemplate(entry);
}

Row TVorlageNeuForm::templateRow() const
{
    Row entry;
    entry.caption = DescEd->text();
    entry.subItems = {m_fields->departurePlace(), m_fields->arrivalPlace(),
                      formatNumberText(m_fields->distance()), m_fields->purpose(),
                      m_fields->isBusiness() ? kBusinessTripKind : kPrivateTripKind};
    return entry;
}

void TVorlageNeuForm::OkBtnClick()
{
    if (DescEd->text().isEmpty())
        return refuseInput(
            m_prompts, *this,
            QStringLiteral(
                "Geben Sie eine Bezeichnung für die neue Vorlage ein (frei gewählter Name)."),
            *DescEd);
    if (m_fields->placesAndPurposeGiven(m_prompts, *this) &&
        m_fields->distancePlausible(m_prompts, *this))
        accept();
}

} // namespace fb
