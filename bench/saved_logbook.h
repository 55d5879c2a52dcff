#pragma once

#include "sample_logbook.h"

#include "storage/logbook_document.h"

#include <QTemporaryDir>

namespace fb::bench {

// A logbook of trips from fillTrips, saved once in a temporary folder that lasts until the
// program ends; the benchmarks that open a file share it.
struct SavedLogbook {
    explicit SavedLogbook(int tripCount)
    {
        LogbookDocument document;
        fillTrips(document.logbook(), tripCount);
        UpdateKMSTands(document.logbook());
        document.SaveTheFileAs(dir.filePath(QStringLiteral("trips.fbu")));
        path = document.fileName();
    }
    QTemporaryDir dir;
    QString path;
};

} // namespace fb::bench
