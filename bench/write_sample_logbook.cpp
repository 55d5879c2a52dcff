// Writes a generated logbook for measuring the command line on it:
// write_sample_logbook OUT.fbu TRIPS
#include "sample_logbook.h"

#include "model/logbook_document.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: write_sample_logbook OUT.fbu TRIPS\n", stderr);
        return 2;
    }
    fb::LogbookDocument document;
    fb::bench::fillTrips(document.logbook(), arguments.at(2).toInt());
    fb::UpdateKMSTands(document.logbook());
    document.SaveTheFileAs(arguments.at(1));
    return 0;
}
