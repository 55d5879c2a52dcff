// The main window's trip commands: new, copy, change and delete, each through the trip dialog
// and one operation on the logbook, and the selected row they act on.
#include "main_form.h"

#include "prompts.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/list/trip_list_model.h"
#include "ui/list/trip_list_view.h"

#include "core/error.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"
#include "model/trip_start_reading.h"
#include "model/trip_suggestions.h"
#include "storage/logbook_document.h"

#include <QScopeGuard>

namespace fb {

namespace {

TFahrtForm::StartReadingAt startReadingAt(TripStartReading readings)
{
    return [readings = std::move(readings)](const QDateTime &departure) {
        return readings.at(departure);
    };
}

} // namespace

TFahrtForm::StartReadingAt TMainForm::newTripReadings() const
{
    return startReadingAt(TripStartReading::forNewTrip(m_document->logbook()));
}

TFahrtForm::StartReadingAt TMainForm::changedTripReadings(int row) const
{
    const Logbook &logbook = m_document->logbook();
    try {
        return startReadingAt(TripStartReading::forChangedTrip(logbook, row));
    } catch (const ConversionError &) {
    }
    // A distance in the list that does not read: the start reading the last odometer pass
    // gave the trip, where it reads; otherwise the fields keep what they held. The command
    // goes on, so that such a trip can be mended.
    try {
        const double start = parseNumberText(logbook.trips.at(row).subItem(TripSubItem::KmStart));
        return [start](const QDateTime &) {
            return start;
        };
    } catch (const ConversionError &) {
        return nullptr;
    }
}

std::optional<Row> TMainForm::askForTrip(TFahrtForm::StartReadingAt readings, const Row *shown)
{
    // Freed once the list shows the trip: the completion lists of a long logbook take
    // milliseconds to give back.
    auto *const dialog = new TFahrtForm(m_prompts, this);
    const auto freeLater = qScopeGuard([dialog] { dialog->deleteLater(); });
    // The moments and the kind of its last use, unless it shows a trip.
    dialog->setDeparture(m_tripDialogMemory.departure);
    dialog->setArrival(m_tripDialogMemory.arrival);
    dialog->setBusiness(m_tripDialogMemory.business);
    dialog->followDeparture(std::move(readings));
    const Logbook &logbook = m_document->logbook();
    dialog->fillTemplateList(logbook.templates.rows());
    dialog->setSuggestions(std::make_shared<const TripSuggestions>(
        TripSuggestions::of(logbook.trips, logbook.templates)));
    if (shown)
        dialog->setFromTrip(*shown);
    else
        dialog->clearTexts();
    const bool confirmed = m_prompts.showModal(*dialog) == QDialog::Accepted;
    m_tripDialogMemory = {dialog->departure(), dialog->arrival(), dialog->isBusiness()};
    if (!confirmed)
        return std::nullopt;
    return dialog->tripRow();
}

void TMainForm::applyAndShow(const LogbookOperation &operation)
{
    // The row the operation wrote: the new trip, or a changed trip's new version.
    ListView1->selectRow(int(m_document->apply(operation)));
}

void TMainForm::Neu1Click()
{
    if (const std::optional<Row> trip = askForTrip(newTripReadings(), nullptr))
        applyAndShow(NewTrip{*trip});
}

void TMainForm::Kopieren1Click()
{
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    if (const std::optional<Row> trip =
            askForTrip(newTripReadings(), &m_document->logbook().trips.at(row)))
        applyAndShow(CopyTrip{row, *trip});
}

void TMainForm::returnTrip()
{
    const RowTable &trips = m_document->logbook().trips;
    int row = ListView1->selectedRow();
    for (int last = int(trips.count()) - 1; row < 0 && last >= 0; --last) {
        if (!isDeleted(trips.at(last)))
            row = last;
    }
    if (row < 0)
        return;
    const Row &outward = trips.at(row);
    const QDateTime departs = parseDateTimeText(outward.caption);
    const QDateTime arrives = parseDateTimeText(outward.subItem(TripSubItem::ArrivalTime));
    Row back = outward;
    back.padSubItems(TripSubItem::Kind + 1);
    back.caption = formatDateTimeText(arrives);
    back.subItems[TripSubItem::ArrivalTime] =
        formatDateTimeText(arrives.addSecs(departs.secsTo(arrives)));
    std::swap(back.subItems[TripSubItem::DeparturePlace], back.subItems[TripSubItem::ArrivalPlace]);
    if (const std::optional<Row> trip = askForTrip(newTripReadings(), &back))
        applyAndShow(NewTrip{*trip});
}

void TMainForm::ndern1Click()
{
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    const RowTable &trips = m_document->logbook().trips;
    if (isDeleted(trips.at(row)))
        return;
    if (const std::optional<Row> trip = askForTrip(changedTripReadings(row), &trips.at(row)))
        applyAndShow(ChangeTrip{row, *trip});
}

void TMainForm::Lschen1Click()
{
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    if (isDeleted(m_document->logbook().trips.at(row))) {
        UpdateKMSTands();
        return;
    }
    m_document->apply(DeleteTrip{row});
}

} // namespace fb
