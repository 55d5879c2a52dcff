#pragma once

#include "model/logbook.h"
#include "model/logbook_format.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QString>

namespace fb::test {

inline Row trip(const QString &departure, const QString &from, const QString &arrival,
                const QString &to, const QString &distance, const QString &purpose,
                const QString &kind, const QString &deleted = {})
{
    return Row{departure, {from, arrival, to, distance, purpose, kind, deleted}};
}

// A small logbook with a bit of everything: umlauts, a deleted trip, a template.
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

inline QByteArray toBytes(const Logbook &logbook)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeLogbook(buffer, logbook);
    return buffer.data();
}

// Reads bytes into the logbook as a load does (the caller empties tables first).
inline void readBytes(const QByteArray &bytes, Logbook &logbook)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    readLogbook(buffer, logbook);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace fb::test
