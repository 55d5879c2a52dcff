#include "row_identity_alignment.h"

#include "model/trip_columns.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace fb {
namespace {

struct Fingerprint {
    LogDigest digest{};
    bool deleted = false;
    friend bool operator==(const Fingerprint &, const Fingerprint &) = default;
};

size_t qHash(const Fingerprint &print, size_t seed = 0)
{
    return qHashBits(print.digest.data(), print.digest.size(), seed) ^ size_t(print.deleted);
}

// Where a fingerprint stands in a sequence, while it stands there only once.
class UniquePlaces {
public:
    void add(const Fingerprint &print, qsizetype place)
    {
        const auto found = m_places.find(print);
        if (found == m_places.end())
            m_places.insert(print, place);
        else
            found.value() = -1;
    }
    // The one place, or -1 where the fingerprint stands nowhere or more than once.
    qsizetype of(const Fingerprint &print) const { return m_places.value(print, -1); }

private:
    QHash<Fingerprint, qsizetype> m_places;
};

struct Anchor {
    qsizetype logged; // place in the logged identities
    qsizetype row;    // place in the file
};

// Of the anchors, in the order of the log, the longest run whose rows ascend too: trips that
// kept their order around the ones cut out or put in (patience sorting, n log n).
std::vector<Anchor> longestAscendingRun(const std::vector<Anchor> &anchors)
{
    std::vector<std::size_t> tails; // per run length, the anchor ending the best such run
    std::vector<std::ptrdiff_t> before(anchors.size(), -1);
    for (std::size_t k = 0; k < anchors.size(); ++k) {
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), anchors[k].row,
            [&](std::size_t tail, qsizetype row) { return anchors[tail].row < row; });
        if (at != tails.begin())
            before[k] = std::ptrdiff_t(*(at - 1));
        if (at == tails.end())
            tails.push_back(k);
        else
            *at = k;
    }
    std::vector<Anchor> run;
    for (std::ptrdiff_t k = tails.empty() ? -1 : std::ptrdiff_t(tails.back()); k >= 0;
         k = before[std::size_t(k)])
        run.push_back(anchors[std::size_t(k)]);
    std::reverse(run.begin(), run.end());
    return run;
}

Fingerprint fingerprintOf(const RowTable &trips, qsizetype row,
                          const std::vector<LogDigest> *digests)
{
    const Row &trip = trips.at(row);
    return {digests ? (*digests)[std::size_t(row)] : tripDigest(trip), isDeleted(trip)};
}

} // namespace

QList<RowId> alignedRowIds(const QList<RowId> &loggedIds, const RowTable &trips,
                           const EntryLog &log, const std::vector<LogDigest> *digests)
{
    const qsizetype rowCount = trips.count();
    const qsizetype idCount = loggedIds.size();
    std::vector<Fingerprint> rows(static_cast<std::size_t>(rowCount));
    UniquePlaces rowPlaces;
    for (qsizetype row = 0; row < rowCount; ++row) {
        rows[std::size_t(row)] = fingerprintOf(trips, row, digests);
        rowPlaces.add(rows[std::size_t(row)], row);
    }
    std::vector<std::optional<Fingerprint>> expected(static_cast<std::size_t>(idCount));
    UniquePlaces idPlaces;
    for (qsizetype at = 0; at < idCount; ++at) {
        if (const std::optional<EntryLog::Expected> logged = log.expected(loggedIds.at(at))) {
            expected[std::size_t(at)] = Fingerprint{logged->digest, logged->deleted};
            idPlaces.add(*expected[std::size_t(at)], at);
        }
    }

    // Trips that stand once in the log and once in the file are the same trip: anchors.
    std::vector<Anchor> anchors;
    for (qsizetype at = 0; at < idCount; ++at) {
        const std::optional<Fingerprint> &print = expected[std::size_t(at)];
        if (!print || idPlaces.of(*print) != at)
            continue;
        if (const qsizetype row = rowPlaces.of(*print); row >= 0)
            anchors.push_back({at, row});
    }
    std::vector<Anchor> kept = longestAscendingRun(anchors);
    kept.push_back({idCount, rowCount});

    // Between two anchors the rows keep the identities in their places, as far as both go:
    // those rows are found changed; identities beyond are missing, rows beyond not logged.
    QList<RowId> aligned(rowCount, kNotLogged);
    std::vector<bool> placed(static_cast<std::size_t>(idCount), false);
    const auto place = [&](qsizetype row, qsizetype at) {
        aligned[row] = loggedIds.at(at);
        placed[std::size_t(at)] = true;
    };
    Anchor previous{-1, -1};
    for (const Anchor &anchor : kept) {
        const qsizetype paired =
            std::min(anchor.logged - previous.logged, anchor.row - previous.row) - 1;
        for (qsizetype k = 1; k <= paired; ++k)
            place(previous.row + k, previous.logged + k);
        if (anchor.row < rowCount)
            place(anchor.row, anchor.logged);
        previous = anchor;
    }

    // A trip moved out of the order of the others is still in the file: an identity left over
    // takes a row left over that is what the log expects of it.
    QHash<Fingerprint, QList<qsizetype>> rowsLeftOver;
    for (qsizetype row = 0; row < rowCount; ++row) {
        if (aligned.at(row) == kNotLogged)
            rowsLeftOver[rows[std::size_t(row)]].append(row);
    }
    for (qsizetype at = 0; at < idCount && !rowsLeftOver.isEmpty(); ++at) {
        const std::optional<Fingerprint> &print = expected[std::size_t(at)];
        if (placed[std::size_t(at)] || !print)
            continue;
        const auto found = rowsLeftOver.find(*print);
        if (found == rowsLeftOver.end())
            continue;
        place(found->takeFirst(), at);
        if (found->isEmpty())
            rowsLeftOver.erase(found);
    }
    return aligned;
}

} // namespace fb
