#include "sample_logbook.h"
#include "saved_logbook.h"

#include "checks/plausibility.h"
#include "checks/trip_search.h"
#include "model/trip_columns.h"
#include "model/trip_suggestions.h"
#include "storage/logbook_document.h"
#include "storage/recovery_journal.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace fb;

namespace {

constexpr int kTrips = 100'000;

bench::SavedLogbook &savedLogbook()
{
    static bench::SavedLogbook saved(kTrips);
    return saved;
}

void BM_LoadWithOdometerPass(benchmark::State &state)
{
    const QString path = savedLogbook().path;
    for (auto _ : state) {
        LogbookDocument document;
        document.OpenFileWithName(path);
        benchmark::DoNotOptimize(document.logbook().trips.count());
    }
    state.counters["trips"] = kTrips;
}
BENCHMARK(BM_LoadWithOdometerPass)->Unit(benchmark::kMillisecond);

// The same 100,000 trips saved with their entry log and without it: loading the log checks
// the seal over the whole file, the chain of 110,000 events and the digest of every trip.
struct LoggedLogbooks {
    LoggedLogbooks()
    {
        LogbookDocument document;
        bench::fillLoggedTrips(document.logbook(), kTrips);
        document.SaveTheFileAs(dir.filePath(QStringLiteral("protokolliert.fbu")));
        logged = document.fileName();
        document.logbook().entryLog.clear();
        document.SaveTheFileAs(dir.filePath(QStringLiteral("ohne-protokoll.fbu")));
        unlogged = document.fileName();
    }
    QTemporaryDir dir;
    QString logged;
    QString unlogged;
};

LoggedLogbooks &loggedLogbooks()
{
    static LoggedLogbooks saved;
    return saved;
}

void loadBench(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        LogbookDocument document;
        document.OpenFileWithName(path);
        if (!document.outsideChangeFound().isEmpty())
            state.SkipWithError("the log was found changed");
        benchmark::DoNotOptimize(document.logbook().trips.count());
    }
    state.counters["trips"] = kTrips;
}

void BM_LoadTripsWithoutEntryLog(benchmark::State &state)
{
    loadBench(state, loggedLogbooks().unlogged);
}
BENCHMARK(BM_LoadTripsWithoutEntryLog)->Unit(benchmark::kMillisecond);

void BM_LoadTripsWithEntryLogChecked(benchmark::State &state)
{
    loadBench(state, loggedLogbooks().logged);
}
BENCHMARK(BM_LoadTripsWithEntryLogChecked)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State &state)
{
    LogbookDocument document;
    document.OpenFileWithName(savedLogbook().path);
    document.setFileName(savedLogbook().dir.filePath(QStringLiteral("saved.fbu")));
    for (auto _ : state)
        document.SaveTheFile();
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_UpdateKMSTands(benchmark::State &state)
{
    Logbook logbook;
    bench::fillTrips(logbook, kTrips);
    UpdateKMSTands(logbook);
    for (auto _ : state) {
        // A new start reading, as after the master data dialog, so every text changes.
        logbook.master.startKm += 1;
        UpdateKMSTands(logbook);
    }
}
BENCHMARK(BM_UpdateKMSTands)->Unit(benchmark::kMillisecond);

// One "Neue Fahrt" as the window applies it to 100,000 trips: the operation, its record in the
// recovery journal (written, not yet synced) and the odometer pass.
void BM_ApplyNewTripWithJournal(benchmark::State &state)
{
    LogbookDocument document;
    document.OpenFileWithName(savedLogbook().path);
    RecoveryJournal journal(journalPathFor(savedLogbook().dir.filePath(QStringLiteral("journale")),
                                           document.fileName()),
                            JournalBase{document.fileName(), document.diskState(), QByteArray()});
    document.addOperationHook(&journal);
    const Row trip{QStringLiteral("04.01.2027 08:00:00"),
                   {QStringLiteral("Köln"), QStringLiteral("04.01.2027 09:00:00"),
                    QStringLiteral("Bonn"), QStringLiteral("31,2"), QStringLiteral("Kundentermin"),
                    QStringLiteral("Geschäftlich")}};
    for (auto _ : state)
        document.apply(NewTrip{trip});
    state.counters["rows"] = double(document.logbook().trips.count());
    journal.discard();
}
BENCHMARK(BM_ApplyNewTripWithJournal)->Unit(benchmark::kMillisecond)->Iterations(20);

// A trip entered late into 100,000 logged trips: it goes to its place in time, half-way down
// the list, and the log gives it an identity there.
void BM_ApplyBackdatedTripToLoggedTrips(benchmark::State &state)
{
    LogbookDocument document;
    document.OpenFileWithName(loggedLogbooks().logged);
    const Row trip{QStringLiteral("15.06.2037 08:00:00"),
                   {QStringLiteral("Köln"), QStringLiteral("15.06.2037 09:00:00"),
                    QStringLiteral("Bonn"), QStringLiteral("31,2"), QStringLiteral("Kundentermin"),
                    QStringLiteral("Geschäftlich")}};
    for (auto _ : state)
        document.apply(NewTrip{trip});
    state.counters["rows"] = double(document.logbook().trips.count());
}
BENCHMARK(BM_ApplyBackdatedTripToLoggedTrips)->Unit(benchmark::kMillisecond)->Iterations(20);

// The slowest search: a text no trip holds, so every trip is looked at once.
void BM_SearchAllTrips(benchmark::State &state)
{
    Logbook logbook;
    bench::fillTrips(logbook, kTrips);
    const QString missing = QStringLiteral("Zugspitze");
    for (auto _ : state)
        benchmark::DoNotOptimize(findTrip(logbook.trips, missing, 0));
}
BENCHMARK(BM_SearchAllTrips)->Unit(benchmark::kMillisecond);

void BM_PlausibilityCheck(benchmark::State &state)
{
    Logbook logbook;
    bench::fillTrips(logbook, kTrips);
    for (auto _ : state)
        benchmark::DoNotOptimize(checkPlausibility(logbook.trips).size());
}
BENCHMARK(BM_PlausibilityCheck)->Unit(benchmark::kMillisecond);

// The completion lists of the trip dialog over 100,000 trips, each to a place of its own:
// built once when the dialog shows, then matched at every key. The slowest key is one that no
// place matches, so that every place is looked at.
void fillDistinctPlaces(Logbook &logbook)
{
    bench::fillTrips(logbook, kTrips);
    const RowTable::BulkUpdate bulk(logbook.trips, RowTable::BulkKind::RewriteRows);
    for (qsizetype row = 0; row < logbook.trips.count(); ++row)
        logbook.trips.rowForUpdate(row).subItems[TripSubItem::ArrivalPlace] =
            QStringLiteral("Kunde %1, Hauptstraße %2").arg(row).arg(row % 97);
}

void BM_SuggestionsWhenTheDialogShows(benchmark::State &state)
{
    Logbook logbook;
    if (state.range(0) != 0)
        fillDistinctPlaces(logbook);
    else
        bench::fillTrips(logbook, kTrips);
    for (auto _ : state)
        benchmark::DoNotOptimize(TripSuggestions::of(logbook.trips, logbook.templates));
}
// Eight places, as the generated logbook has them; a place of its own for every trip.
BENCHMARK(BM_SuggestionsWhenTheDialogShows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CompletionListAtAKey(benchmark::State &state)
{
    Logbook logbook;
    fillDistinctPlaces(logbook);
    const TripSuggestions suggestions = TripSuggestions::of(logbook.trips, logbook.templates);
    const QString typed = QStringLiteral("zugsp");
    for (auto _ : state)
        benchmark::DoNotOptimize(suggestions.matchingPlaces(typed));
}
BENCHMARK(BM_CompletionListAtAKey)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
