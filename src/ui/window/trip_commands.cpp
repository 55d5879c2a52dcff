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

namespace fb {

int TMainForm::selectedRow() const
{
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void TMainForm::selectRow(int row)
{
    const QModelIndex index = m_tripModel->index(row, 0);
    ListView1->setCurrentIndex(index);
    ListView1->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
}

namespace {

TFahrtForm::StartReadingAt startReadingAt(TripStartReading readings)
{
    return [readings = std::move(readings)](const QDateTime &departure) {
        return readings.at(departure);
    };
}

} // namespace

void TMainForm::prepareNewReadings()
{
    m_fahrtForm->followDeparture(
        startReadingAt(TripStartReading::forNewTrip(m_document->logbook())));
}

void TMainForm::prepareChangeReadings(int row)
{
    const Logbook &logbook = m_document->logbook();
    try {
        m_fahrtForm->followDeparture(
            startReadingAt(TripStartReading::forChangedTrip(logbook, row)));
        return;
    } catch (const ConversionError &) {
    }
    // A distance in the list that does not read: the start reading the last odometer pass
    // gave the trip, where it reads; otherwise the fields keep what they held. The command
    // goes on, so that such a trip can be mended.
    try {
        const double start = parseNumberText(logbook.trips.at(row).subItem(TripSubItem::KmStart));
        m_fahrtForm->followDeparture([start](const QDateTime &) { return start; });
    } catch (const ConversionError &) {
        m_fahrtForm->followDeparture(nullptr);
    }
}

void TMainForm::prepareTripDialog()
{
    m_fahrtForm->fillTemplateList();
    const Logbook &logbook = m_document->logbook();
    m_fahrtForm->setSuggestions(std::make_shared<const TripSuggestions>(
        TripSuggestions::of(logbook.trips, logbook.templates)));
}

void TMainForm::applyAndShow(const LogbookOperation &operation)
{
    // The row the operation wrote: the new trip, or a changed trip's new version.
    selectRow(int(m_document->apply(operation)));
}

void TMainForm::Neu1Click()
{
    prepareNewReadings();
    prepareTripDialog();
    m_fahrtForm->clearTexts();
    if (m_prompts.showModal(*m_fahrtForm) != QDialog::Accepted)
        return;
    applyAndShow(NewTrip{m_fahrtForm->tripRow()});
}

void TMainForm::Kopieren1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    prepareNewReadings();
    prepareTripDialog();
    m_fahrtForm->setFromTrip(m_document->logbook().trips.at(row));
    if (m_prompts.showModal(*m_fahrtForm) != QDialog::Accepted)
        return;
    applyAndShow(CopyTrip{row, m_fahrtForm->tripRow()});
}

void TMainForm::returnTrip()
{
    const RowTable &trips = m_document->logbook().trips;
    int row = selectedRow();
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
    prepareNewReadings();
    prepareTripDialog();
    m_fahrtForm->setFromTrip(back);
    if (m_prompts.showModal(*m_fahrtForm) != QDialog::Accepted)
        return;
    applyAndShow(NewTrip{m_fahrtForm->tripRow()});
}

void TMainForm::ndern1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const RowTable &trips = m_document->logbook().trips;
    if (isDeleted(trips.at(row)))
        return;
    prepareChangeReadings(row);
    prepareTripDialog();
    m_fahrtForm->setFromTrip(trips.at(row));
    if (m_prompts.showModal(*m_fahrtForm) != QDialog::Accepted)
        return;
    applyAndShow(ChangeTrip{row, m_fahrtForm->tripRow()});
}

void TMainForm::Lschen1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (isDeleted(m_document->logbook().trips.at(row))) {
        UpdateKMSTands();
        return;
    }
    m_document->apply(DeleteTrip{row});
}

} // namespace fb
