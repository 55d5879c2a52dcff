// The main window's reports on the logbook: the evaluation, the plausibility check and the
// entry log; the last two lead to the trip a line is about.
#include "main_form.h"

#include "prompts.h"
#include "ui/dialogs/auswertung_form.h"
#include "ui/dialogs/check_findings_dialog.h"
#include "ui/dialogs/entry_log_dialog.h"

#include "checks/entry_log_report.h"
#include "checks/evaluation.h"
#include "checks/logbook_check.h"
#include "storage/logbook_document.h"

namespace fb {

void TMainForm::Auswertunganzeigen1Click()
{
    // A distance that does not parse ends the command before the window changes.
    const Evaluation evaluation = evaluateTrips(m_document->logbook().trips);
    m_auswertungForm->showLines(evaluationLines(evaluation));
    m_prompts.showModal(*m_auswertungForm);
}

void TMainForm::checkLogbook()
{
    const Logbook &logbook = m_document->logbook();
    m_checkFindingsDialog->showFindings(logbook.trips, fb::checkLogbook(logbook));
    m_prompts.showModal(*m_checkFindingsDialog);
    if (m_checkFindingsDialog->chosenTrip() >= 0)
        selectRow(int(m_checkFindingsDialog->chosenTrip()));
}

void TMainForm::showEntryLog()
{
    m_entryLogDialog->showLog(m_document->logbook());
    m_prompts.showModal(*m_entryLogDialog);
    if (m_entryLogDialog->chosenTrip() >= 0)
        selectRow(int(m_entryLogDialog->chosenTrip()));
}

} // namespace fb
