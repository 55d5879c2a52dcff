#include "master_data.h"

#include "text_forms.h"

#include <QStringList>

#include <cfenv>
#include <cmath>
#include <limits>

namespace fb {

qint32 startKmFromStoredValue(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(rounded);
}

namespace {

const QString kFirstRegistration = QStringLiteral("Datum der Erstzulassung");
const QString kRegistration = QStringLiteral("Datum der Zulassung");

QString dateText(double stored)
{
    const QDateTime moment = fromOleDate(stored);
    return moment.isValid() ? formatDateTimeText(moment) : QString::number(stored);
}

} // namespace

QString keeperName(const MasterData &master)
{
    if (!master.company.trimmed().isEmpty())
        return master.company;
    return QString(master.firstName.trimmed() + QLatin1Char(' ') + master.lastName.trimmed())
        .trimmed();
}

QList<MasterDataField> masterDataFields(const MasterData &master)
{
    const auto text = [](const char *name, const QString &value) {
        return MasterDataField{QString::fromUtf8(name), value, false};
    };
    return {
        text("Firma", master.company),
        text("Vorname", master.firstName),
        text("Nachname", master.lastName),
        text("Straße", master.street),
        text("PLZ", master.postcode),
        text("Ort", master.town),
        text("Land", master.country),
        text("Telefon", master.telephone),
        text("Kennzeichen", master.registrationNumber),
        text("Zulassungsbehörde", master.registrationAuthority),
        text("Kilometerstand Beginn", QString::number(master.startKm)),
        {kFirstRegistration, dateText(master.firstRegistration), true},
        {kRegistration, dateText(master.registration), true},
    };
}

QList<QStringList> masterDataChanges(const MasterData &before, const MasterData &after)
{
    const QList<MasterDataField> old = masterDataFields(before);
    const QList<MasterDataField> now = masterDataFields(after);
    QList<QStringList> changes;
    for (qsizetype i = 0; i < old.size(); ++i) {
        const bool storedDiffers = old.at(i).name == kFirstRegistration
                                       ? before.firstRegistration != after.firstRegistration
                                   : old.at(i).name == kRegistration
                                       ? before.registration != after.registration
                                       : old.at(i).value != now.at(i).value;
        if (storedDiffers)
            changes.append({old.at(i).name, old.at(i).value, now.at(i).value});
    }
    return changes;
}

QString shownMasterDataValue(const QString &name, const QString &value)
{
    if (name != kFirstRegistration && name != kRegistration)
        return value;
    const std::optional<QDateTime> moment = tryParseDateTimeText(value);
    return moment ? moment->date().toString(QStringLiteral("dd.MM.yyyy")) : value;
}

} // namespace fb
