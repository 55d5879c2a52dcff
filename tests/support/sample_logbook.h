#pragma once

#include "model/logbook.h"
#include "model/row.h"
#include "storage/logbook_document.h"

#include <QString>

#include <functional>

namespace fb::test {

// A trip row as the file keeps it, before the odometer pass adds the readings.
inline Row trip(const QString &departure, const QString &from, const QString &arrival,
                const QString &to, const QString &distance, const QString &purpose,
                const QString &kind, const QString &deleted = {})
{
    return Row{departure, {from, arrival, to, distance, purpose, kind, deleted}};
}

// A business trip from Köln to Bonn on the morning of 7 December 2026. Like the return
// below, it holds only the texts given: no deleted mark and no readings.
inline Row outwardTrip(const QString &distance, const QString &purpose = QStringLiteral("Kunde"))
{
    return Row{QStringLiteral("07.12.2026 08:00:00"),
               {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"),
                QStringLiteral("Bonn"), distance, purpose, QStringLiteral("Geschäftlich")}};
}

// The private trip back the next day, its departure given by the date alone.
inline Row returnTrip(const QString &distance, const QString &deleted = {})
{
    Row row{QStringLiteral("08.12.2026"),
            {QStringLiteral("Bonn"), QStringLiteral("08.12.2026 01:00:00"), QStringLiteral("Köln"),
             distance, QStringLiteral("zurück"), QStringLiteral("Privat")}};
    if (!deleted.isEmpty())
        row.subItems.append(deleted);
    return row;
}

// A small logbook with a bit of everything: umlauts, a line break, a deleted trip given by
// its date alone, a template.
inline void fillSample(Logbook &logbook)
{
    logbook.master.company = QStringLiteral("Müller & Söhne");
    logbook.master.lastName = QStringLiteral("Weiß");
    logbook.master.startKm = 12000;
    logbook.trips.append(trip(QStringLiteral("07.12.2026 08:00:00"), QStringLiteral("Köln"),
                              QStringLiteral("07.12.2026 09:30:00"), QStringLiteral("Bonn"),
                              QStringLiteral("30,5"), QStringLiteral("Kunde\r\nAngebot"),
                              QStringLiteral("Geschäftlich")));
    logbook.trips.append(trip(QStringLiteral("08.12.2026"), QStringLiteral("Bonn"),
                              QStringLiteral("08.12.2026 10:00:00"), QStringLiteral("Köln"),
                              QStringLiteral("31"), QStringLiteral("zurück"),
                              QStringLiteral("Privat"), QStringLiteral("Ja")));
    logbook.templates.append(
        Row{QStringLiteral("Büro"),
            {QStringLiteral("Köln"), QStringLiteral("Bonn"), QStringLiteral("30"),
             QStringLiteral("Büro"), QStringLiteral("Geschäftlich")}});
}

// Saves the logbook that fill builds as a file at path, as the program saves one.
inline void saveLogbookFile(const QString &path, const std::function<void(Logbook &)> &fill)
{
    LogbookDocument document;
    fill(document.logbook());
    document.setFileName(path);
    document.SaveTheFile();
}

} // namespace fb::test
