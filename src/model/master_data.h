#pragma once

#include "core/ole_date.h"

#include <QList>
#include <QString>

namespace fb {

// The keeper and the vehicle, in the order the logbook file stores the fields.
struct MasterData {
    QString company;
    QString firstName;
    QString lastName;
    QString street;
    QString postcode;
    QString town;
    QString country;
    QString telephone;
    QString registrationNumber;
    QString registrationAuthority;
    // Whole kilometres; the first "KM Start" of the odometer chain.
    qint32 startKm = 0;
    // Shown as dates only, but the time of day is kept and stored with them.
    double firstRegistration = defaultRegistrationDate();
    double registration = defaultRegistrationDate();

    static double defaultRegistrationDate() { return toOleDate(QDate(2008, 4, 3), QTime(18, 10)); }

    friend bool operator==(const MasterData &, const MasterData &) = default;
};

// The start reading a stored value puts into the whole-number field: rounded to the
// nearest whole number, halves to even; what is not a signed 32-bit integer counts as 0.
qint32 startKmFromStoredValue(double value);

// The keeper as a document names them: the company, or else the first and the last name.
QString keeperName(const MasterData &master);

// One field of the master data as the entry log records it: its name as the printout labels
// it and its value as text; the two registration dates with their time of day.
struct MasterDataField {
    QString name;
    QString value;
    bool isDate = false;
};
QList<MasterDataField> masterDataFields(const MasterData &master);

// Each field that differs between the two: its name, the old and the new value. The dates are
// compared as stored, so that a change of the time of day alone counts too.
QList<QStringList> masterDataChanges(const MasterData &before, const MasterData &after);

// A logged value as the dialog shows the field: the registration dates without the time of day
// that nobody typed.
QString shownMasterDataValue(const QString &name, const QString &value);

} // namespace fb
