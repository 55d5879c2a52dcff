// The main window's reports on the logbook: the evaluation, the plausibility check and the
// entry log; the last two lead to the trip a line is about.
#include "main_form.h"

#include "prompts.h"
#include "ui/dialogs/auswertung_form.h"
#include "ui/dialogs/protokoll_form.h"
#include "ui/dialogs/pruefung_form.h"

#include "checks/entry_log_report.h"
#include "checks/evaluation.h"
#include "checks/plausibility.h"
#include "storage/logbook_document.h"

namespace fb {

void TMainForm::Auswertunganzeigen1Click()
{
    // A distance that does not parse ends the command before the window changes.
    const Evaluation evaluation = evaluateTrips(m_document->logbook().trips);
    m_auswertungForm->showLines(evaluationLines(evaluation));
    m_prompts.showModal(*m_auswertungForm);
}

void TMainForm::Fahrtenbuchprfen1Click()
{
    const RowTable &trips = m_document->logbook().trips;
    m_pruefungForm->showFindings(
        trips, checkPlausibility(trips, entryMoments(m_document->logbook().entryLog)));
    m_prompts.showModal(*m_pruefungForm);
    if (m_pruefungForm->chosenTrip() >= 0)
        selectRow(int(m_pruefungForm->chosenTrip()));
}

void TMainForm::nderungsprotokollanzeigen1Click()
{
    m_protokollForm->showLog(m_document->logbook());
    m_prompts.showModal(*m_protokollForm);
    if (m_protokollForm->chosenTrip() >= 0)
        selectRow(int(m_protokollForm->chosenTrip()));
}

} // namespace fb
