#include "logbook_format.h"

#include "binary_stream.h"
#include "core/cp1252.h"
#include "row_block_reader.h"

namespace fb {
namespace {

// A row needs at least its count and its caption's length; a text at least its length.
constexpr qint64 kMinRowBytes = 8;
constexpr qint64 kMinTextBytes = 4;
constexpr qsizetype kMaxFaceNameBytes = 255;

void writeRows(BinaryWriter &out, const RowTable &table)
{
    out.writeInt32(static_cast<qint32>(table.count()));
    for (const Row &row : table.rows()) {
        out.writeInt32(static_cast<qint32>(row.subItems.size()));
        out.writeText(row.caption);
        for (const QString &text : row.subItems)
            out.writeText(text);
    }
}

void writeFont(BinaryWriter &out, const PrintFont &font)
{
    const QByteArray face = cp1252::encodeLossy(font.face).left(kMaxFaceNameBytes);
    out.writeByte(font.charset);
    out.writeInt32(font.color);
    out.writeByte(static_cast<quint8>(face.size()));
    out.writeBytes(face);
    out.writeByte(font.pitch);
    out.writeInt32(font.pixelsPerInch);
    out.writeInt32(font.sizePoints);
    out.writeByte(font.style);
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
    for (qint32 r = 0; r < rowCount; ++r) {
        // The row is in the table before its fields are read, so a row cut short by the end
        // of the file stays as far as it was read.
        Row &row = table.appendForUpdate();
        const qint32 subItemCount = in.readInt32();
        row.caption = in.readText();
        if (subItemCount <= 0)
            continue;
        in.requireAtLeast(subItemCount * kMinTextBytes);
        row.subItems.reserve(subItemCount);
        for (qint32 i = 0; i < subItemCount; ++i)
            row.subItems.append(in.readText());
    }
}

void readFont(BinaryReader &in, PrintFont &font)
{
    // Read into a scratch font, so a record cut short leaves the font as it was.
    PrintFont scratch = font;
    scratch.charset = in.readByte();
    scratch.color = in.readInt32();
    const quint8 faceLength = in.readByte();
    scratch.face = cp1252::decode(in.readBytes(faceLength));
    scratch.pitch = in.readByte();
    in.readInt32(); // the writer's pixels per inch: the font keeps its own
    scratch.sizePoints = in.readInt32();
    scratch.style = in.readByte() & (PrintFont::Bold | PrintFont::Italic | PrintFont::Underline |
                                     PrintFont::StrikeOut);
    font = scratch;
}

} // namespace

void writeLogbook(QIODevice &device, const Logbook &logbook)
{
    BinaryWriter out(device);
    writeRows(out, logbook.trips);
    writeRows(out, logbook.templates);

    const MasterData &master = logbook.master;
    for (const QString *text :
         {&master.company, &master.firstName, &master.lastName, &master.street, &master.postcode,
          &master.town, &master.country, &master.telephone, &master.registrationNumber,
          &master.registrationAuthority})
        out.writeText(*text);
    out.writeFloat64(master.startKm);
    out.writeFloat64(master.firstRegistration);
    out.writeFloat64(master.registration);

    const PrintSettings &print = logbook.print;
    out.writeFlag(print.printAllTrips());
    out.writeFlag(print.printDateRange);
    out.writeFloat64(print.rangeFrom);
    out.writeFloat64(print.rangeTo);
    out.writeFlag(print.printMasterData);
    out.writeFlag(print.printPrivateTrips);
    out.writeFlag(print.printBusinessTrips);
    out.writeText(print.heading);
    out.writeFlag(print.printEvaluation);
    out.writeFlag(print.printFinalOdometer);

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

    MasterData &master = logbook.master;
    for (QString *text : {&master.company, &master.firstName, &master.lastName, &master.street,
                          &master.postcode, &master.town, &master.country, &master.telephone,
                          &master.registrationNumber, &master.registrationAuthority})
        *text = in.readText();
    master.startKm = startKmFromStoredValue(in.readFloat64());
    master.firstRegistration = in.readFloat64();
    master.registration = in.readFloat64();

    // The two range flags are applied in file order, as to two radio buttons: a set first
    // flag chooses "all trips", a set second flag wins over it.
    PrintSettings &print = logbook.print;
    if (in.readFlag())
        print.printDateRange = false;
    print.printDateRange = in.readFlag();
    print.rangeFrom = in.readFloat64();
    print.rangeTo = in.readFloat64();
    print.printMasterData = in.readFlag();
    print.printPrivateTrips = in.readFlag();
    print.printBusinessTrips = in.readFlag();
    print.heading = in.readText();
    print.printEvaluation = in.readFlag();
    print.printFinalOdometer = in.readFlag();

    readFont(in, logbook.headingFont);
    readFont(in, logbook.textFont);
    // Bytes after the text font are not part of the logbook and are ignored.
}

} // namespace fb
