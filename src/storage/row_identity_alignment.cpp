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

// Where each fingerprint stands, ascending; a lookup finds the first place after a given one.
class Places {
public:
    void add(const Fingerprint &print, qsizetype place) { m_places[print].append(place); }

    // The first place after `after` and no further than `limit`, or -1.
    qsizetype firstAfter(const Fingerprint &print, qsizetype after, qsizetype limit) const
    {
        const auto found = m_places.constFind(print);
        if (found == m_places.cend())
            return -1;
        const auto next = std::upper_bound(found->cbegin(), found->cend(), after);
        return next != found->cend() && *next <= limit ? *next : -1;
    }

private:
    QHash<Fingerprint, QList<qsizetype>> m_places;
};

} // namespace

QList<RowId> alignedRowIds(const QList<RowId> &loggedIds, const RowTable &trips,
                           const EntryLog &log, const std::vector<LogDigest> *digests)
{
    const qsizetype rowCount = trips.count();
    const qsizetype idCount = loggedIds.size();
    std::vector<Fingerprint> rows(static_cast<std::size_t>(rowCount));
    Places rowPlaces;
    for (qsizetype row = 0; row < rowCount; ++row) {
        const Row &trip = trips.at(row);
        rows[std::size_t(row)] = {digests ? (*digests)[std::size_t(row)] : tripDigest(trip),
                                  isDeleted(trip)};
        rowPlaces.add(rows[std::size_t(row)], row);
    }
    std::vector<std::optional<Fingerprint>> expected(static_cast<std::size_t>(idCount));
    Places idPlaces;
    for (qsizetype at = 0; at < idCount; ++at) {
        if (const std::optional<EntryLog::Expected> logged = log.expected(loggedIds.at(at))) {
            expected[std::size_t(at)] = Fingerprint{logged->digest, logged->deleted};
            idPlaces.add(*expected[std::size_t(at)], at);
        }
    }

    // No more identities can have been cut out than the log has more than the file, nor more
    // rows put in than the file has more than the log.
    qsizetype idsToSkip = std::max<qsizetype>(0, idCount - rowCount);
    qsizetype rowsToSkip = std::max<qsizetype>(0, rowCount - idCount);
    QList<RowId> aligned(rowCount, kNotLogged);
    qsizetype row = 0;
    qsizetype at = 0;
    while (row < rowCount && at < idCount) {
        const Fingerprint &found = rows[std::size_t(row)];
        if (expected[std::size_t(at)] != found) {
            if (const qsizetype later = idPlaces.firstAfter(found, at, at + idsToSkip);
                later >= 0) {
                idsToSkip -= later - at;
                at = later;
            } else if (expected[std::size_t(at)]) {
                if (const qsizetype laterRow =
                        rowPlaces.firstAfter(*expected[std::size_t(at)], row, row + rowsToSkip);
                    laterRow >= 0) {
                    rowsToSkip -= laterRow - row;
                    row = laterRow;
                }
            }
        }
        aligned[row++] = loggedIds.at(at++);
    }
    return aligned;
}

} // namespace fb
