// The main window's reports on the logbook: the evaluation, the plausibility check and the
// entry log; the last two lead to the trip a line is about.
#include "main_form.h"

#include "prompts.h"
#include "ui/dialogs/auswertung_form.h"
#include "ui/dialogs/check_findings_dialog.h"
#include "ui/dialogs/entry_log_dialog.h"
#include "ui/list/trip_list_view.h"

#include "checks/entry_log_report.h"
#include "checks/evaluation.h"
#include "checks/logbook_check.h"
#include "storage/logbook_document.h"

namespace fb {

void TMainForm::Auswertunganzeigen1Click()
{
    // A distance that does not parse ends the command before the window changes.
    const Evaluation evaluation = evaluateTrips(m_document->logbook().trips);
    TAuswertungForm window(this);
    window.showLines(evaluationLines(evaluation));
    m_prompts.showModal(window);
}

void TMainForm::checkLogbook()
{
    const Logbook &logbook = m_document->logbook();
    CheckFindingsDialog findings(this);
    findings.showFindings(logbook.trips, fb::checkLogbook(logbook));
    m_prompts.showModal(findings);
    if (findings.chosenTrip() >= 0)
        ListView1->selectRow(int(findings.chosenTrip()));
}

void TMainForm::showEntryLog()
{
    EntryLogDialog log(this);
    log.showLog(m_document->logbook());
    m_prompts.showModal(log);
    if (log.chosenTrip() >= 0)
        ListView1->selectRow(int(log.chosenTrip()));
}

} // namespace fb
