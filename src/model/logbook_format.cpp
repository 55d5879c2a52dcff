#include "logbook_format.h"

#include "binary_stream.h"
#include "logbook_fields.h"
#include "row_block_reader.h"

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

void readRows(BinaryReader &in, RowTable &table)
{
    const qint32 rowCount = in.readInt32();
    if (rowCount <= 0)
        return;
    in.requireAtLeast(rowCount * kMinRowBytes);
    table.reserve(table.count() + rowCount);
    if (const auto used = readRowBlock(in.unreadInMemory(), rowCount, table)) {
        in.skipInMemory(*used);
        return;
    }
    // Each row is in the table before its fields are read, so a row cut short by the end of
    // the file stays as far as it was read.
    for (qint32 r = 0; r < rowCount; ++r)
        readRowInto(in, table.appendForUpdate());
}

} // namespace

void writeLogbook(QIODevice &device, const Logbook &logbook)
{
    BinaryWriter out(device);
    writeRows(out, logbook.trips);
    writeRows(out, logbook.templates);
    writeMasterData(out, logbook.master);
    writePrintSettings(out, logbook.print);
    writeFont(out, logbook.headingFont);
    writeFont(out, logbook.textFont);
    out.flush();
}

void readLogbook(QIODevice &device, Logbook &logbook, qint64 wholeFileLimit)
{
    BinaryReader in(device, wholeFileLimit);
    {
        const RowTable::BulkUpdate bulk(logbook.trips, RowTable::BulkKind::Reset);
        readRows(in, logbook.trips);
    }
    {
        const RowTable::BulkUpdate bulk(logbook.templates, RowTable::BulkKind::Reset);
        readRows(in, logbook.templates);
    }
    readMasterData(in, logbook.master);
    readPrintSettings(in, logbook.print);
    readFont(in, logbook.headingFont);
    readFont(in, logbook.textFont);
    // Bytes after the text font are not part of the logbook and are ignored.
}

} // namespace fb
