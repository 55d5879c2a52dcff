#include "logbook_format.h"

#include "binary_stream.h"
#include "entry_log_trailer.h"
#include "logbook_fields.h"
#include "row_block_reader.h"

#include <QCryptographicHash>
#include <QScopeGuard>

namespace fb {
namespace {

// A row needs at least its count and its caption's length.
constexpr qint64 kMinRowBytes = 8;

void writeRows(BinaryWriter &out, const RowTable &table)
{
    out.writeInt32(static_cast<qint32>(table.count()));
    for (const Row &row : table.rows())
        writeRow(out, row);
}

void readRows(BinaryReader &in, RowTable &table, std::vector<LogDigest> *digests, bool referToBytes)
{
    const qint32 rowCount = in.readInt32();
    if (rowCount <= 0)
        return;
    in.requireAtLeast(rowCount * kMinRowBytes);
    table.reserve(table.count() + rowCount);
    if (const auto used =
            readRowBlock(in.unreadInMemory(), rowCount, table, digests, referToBytes)) {
        in.skipInMemory(*used);
        return;
    }
    // Each row is in the table before its fields are read, so a row cut short by the end of
    // the file stays as far as it was read.
    if (digests)
        digests->clear();
    for (qint32 r = 0; r < rowCount; ++r)
        readRowInto(in, table.appendForUpdate());
}

} // namespace

void writeLogbook(QIODevice &device, const Logbook &logbook)
{
    BinaryWriter out(device);
    // Only a logbook with a log is sealed: every other file stays as it always was.
    QCryptographicHash seal(QCryptographicHash::Blake2b_256);
    const bool logged = !logbook.entryLog.isEmpty();
    if (logged)
        out.setHash(&seal);
    writeRows(out, logbook.trips);
    writeRows(out, logbook.templates);
    writeMasterData(out, logbook.master);
    writePrintSettings(out, logbook.print);
    writeFont(out, logbook.headingFont);
    writeFont(out, logbook.textFont);
    if (logged)
        writeEntryLogTrailer(out, seal, logbook.entryLog, logbook.trips.count());
    out.flush();
}

EntryLogFindings readLogbook(QIODevice &device, Logbook &logbook, qint64 wholeFileLimit,
                             QByteArray *textsIn)
{
    // The log belongs to the trips as read: whatever stops the read leaves the rows unlogged.
    logbook.entryLog.clear();
    EntryLogReader logReader(device);
    BinaryReader in(device, wholeFileLimit);
    // Whatever ends the read, the hashing thread is done with the bytes before they go.
    const auto finishHashing = qScopeGuard([&logReader] { logReader.finish(); });
    logReader.bytesInMemory(in.allInMemory());
    bool referToBytes = false;
    if (textsIn) {
        *textsIn = in.wholeInMemory();
        referToBytes = !textsIn->isEmpty();
    }
    {
        const RowTable::BulkUpdate bulk(logbook.trips, RowTable::BulkKind::Reset);
        readRows(in, logbook.trips, logReader.rowDigests(), referToBytes);
    }
    {
        const RowTable::BulkUpdate bulk(logbook.templates, RowTable::BulkKind::Reset);
        readRows(in, logbook.templates, nullptr, referToBytes);
    }
    readMasterData(in, logbook.master);
    readPrintSettings(in, logbook.print);
    readFont(in, logbook.headingFont);
    readFont(in, logbook.textFont);
    EntryLogFindings findings = logReader.read(in, device, logbook.trips, logbook.entryLog);
    findings.masterData = masterDataUnlikeLog(logbook.entryLog, logbook.master);
    return findings;
}

} // namespace fb
