#include "trip_columns.h"

namespace fb {

QStringList tripColumnTitles()
{
    return {QStringLiteral("Abfahrtszeit"), QStringLiteral("Abfahrtsort"),
            QStringLiteral("Ankunftszeit"), QStringLiteral("Ankunftsort"),
            QStringLiteral("Entfernung"),   QStringLiteral("Fahrtzweck"),
            QStringLiteral("Typ"),          QStringLiteral("Gelöscht"),
            QStringLiteral("KM Start"),     QStringLiteral("KM Ende")};
}

QStringList templateColumnTitles()
{
    return {QStringLiteral("Bezeichnung"), QStringLiteral("Abfahrtsort"),
            QStringLiteral("Ankunftsort"), QStringLiteral("Entfernung"),
            QStringLiteral("Fahrtzweck"),  QStringLiteral("Typ")};
}

} // namespace fb
