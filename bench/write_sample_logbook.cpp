// Writes a generated logbook for measuring the command line on it:
// write_sample_logbook OUT.fbu TRIPS [EVENTS]
// EVENTS empty master data events at one moment make an entry log as large as a forged one.
#include "sample_logbook.h"

#include "storage/logbook_document.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 && arguments.size() != 4) {
        std::fputs("usage: write_sample_logbook OUT.fbu TRIPS [EVENTS]\n", stderr);
        return 2;
    }
    fb::LogbookDocument document;
    fb::bench::fillTrips(document.logbook(), arguments.at(2).toInt());
    fb::UpdateKMSTands(document.logbook());
    const int events = arguments.size() == 4 ? arguments.at(3).toInt() : 0;
    fb::EntryEvent event;
    event.kind = fb::EntryEventKind::MasterData;
    event.when = 46350.5;
    for (int i = 0; i < events; ++i)
        document.logbook().entryLog.append(event);
    document.SaveTheFileAs(arguments.at(1));
    return 0;
}
