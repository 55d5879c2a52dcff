#pragma once

#include "core/error.h"
#include "logbook.h"

#include <QDateTime>

#include <variant>

namespace fb {

// Visits an operation with one lambda for each kind.
template<class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

// Every change to a logbook is one of these operations, made with the values a dialog
// gathered. They are applied in one place (LogbookDocument::apply), which is where the
// recovery journal records them and from where they are replayed.

// A new trip, caption and sub-items 0 to 5, in its place in time (trip_placement.h).
struct NewTrip {
    Row trip;
    friend bool operator==(const NewTrip &, const NewTrip &) = default;
};

// A copy of the trip at source, as the dialog changed it, placed like a new trip.
struct CopyTrip {
    qsizetype source = 0;
    Row trip;
    friend bool operator==(const CopyTrip &, const CopyTrip &) = default;
};

// The live trip at row is marked deleted and its new version inserted directly below it, or in
// its place in time when its departure no longer fits there.
struct ChangeTrip {
    qsizetype row = 0;
    Row trip;
    friend bool operator==(const ChangeTrip &, const ChangeTrip &) = default;
};

// The live trip at row is marked deleted.
struct DeleteTrip {
    qsizetype row = 0;
    friend bool operator==(const DeleteTrip &, const DeleteTrip &) = default;
};

// The whole master data record.
struct SetMasterData {
    MasterData master;
    friend bool operator==(const SetMasterData &, const SetMasterData &) = default;
};

// A new template (or a copy of one), appended at the end.
struct NewTemplate {
    Row entry;
    friend bool operator==(const NewTemplate &, const NewTemplate &) = default;
};

// The template at row is replaced; it keeps its place.
struct ChangeTemplate {
    qsizetype row = 0;
    Row entry;
    friend bool operator==(const ChangeTemplate &, const ChangeTemplate &) = default;
};

// The template at row is removed.
struct DeleteTemplate {
    qsizetype row = 0;
    friend bool operator==(const DeleteTemplate &, const DeleteTemplate &) = default;
};

// The print settings, "Zeit ausdrucken" included, and both print fonts.
struct SetPrintOptions {
    PrintSettings print;
    PrintFont headingFont;
    PrintFont textFont;
    friend bool operator==(const SetPrintOptions &, const SetPrintOptions &) = default;
};

// What the odometer showed at a moment, read off the car: an event of the entry log, never
// changed afterwards (a later reading corrects a wrong one). The moment is days since
// 30.12.1899 in local wall-clock time, as the trips' moments.
struct RecordOdometerReading {
    double at = 0;
    double km = 0;
    QString note;
    friend bool operator==(const RecordOdometerReading &, const RecordOdometerReading &) = default;
};

using LogbookOperation =
    std::variant<NewTrip, CopyTrip, ChangeTrip, DeleteTrip, SetMasterData, NewTemplate,
                 ChangeTemplate, DeleteTemplate, SetPrintOptions, RecordOdometerReading>;

// An operation with the moment it was applied, in UTC.
struct TimedOperation {
    LogbookOperation operation;
    QDateTime appliedAt;
    friend bool operator==(const TimedOperation &, const TimedOperation &) = default;
};

// An operation that does not fit the logbook it is applied to: a row that is not there, a
// trip already deleted. The logbook is unchanged.
class OperationError : public Error {
public:
    using Error::Error;
};

// Throws OperationError when the operation cannot be applied to the logbook as it stands.
void checkOperation(const Logbook &logbook, const LogbookOperation &operation);

// Checks the operation and changes the logbook's tables and records, and logs what it did to
// the trips and the master data in the entry log at the operation's moment, so that replaying
// the operations gives the same log; the odometer pass is the caller's (needsOdometerPass).
// Returns the row the operation wrote: the new, copied or changed trip's new row, the deleted
// trip's row, the new or changed template's row, the deleted template's former row; -1 for
// master data, print options and readings.
qsizetype applyOperation(Logbook &logbook, const TimedOperation &operation);

// Whether the readings may have changed: every trip operation and the master data.
bool needsOdometerPass(const LogbookOperation &operation);

// Whether the operation marks the document changed. Print options do not: whether choosing
// them counts as a change is up to the command (printing marks it, cancelling does not).
bool marksChanged(const LogbookOperation &operation);

} // namespace fb
