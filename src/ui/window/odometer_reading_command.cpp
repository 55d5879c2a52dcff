// The main window's command that records what the odometer showed: a reading is an event of
// the entry log and is never changed; a wrong one is corrected by a later one.
#include "main_form.h"

#include "prompts.h"
#include "ui/dialogs/odometer_reading_dialog.h"

#include "core/ole_date.h"
#include "storage/logbook_document.h"

namespace fb {

void TMainForm::readOdometer()
{
    const QDateTime now = QDateTime::currentDateTime();
    OdometerReadingDialog dialog(m_prompts, now.date(),
                                 QTime(now.time().hour(), now.time().minute()), this);
    if (m_prompts.showModal(dialog) != QDialog::Accepted)
        return;
    const OdometerReadingInput reading = dialog.values();
    m_document->apply(
        RecordOdometerReading{toOleDate(reading.date, reading.time), reading.km, reading.note});
}

} // namespace fb
