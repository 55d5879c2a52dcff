#include "logbook_fields.h"

#include "core/cp1252.h"

namespace fb {
namespace {

constexpr qint64 kMinTextBytes = 4;
constexpr qsizetype kMaxFaceNameBytes = 255;

} // namespace

void writeRow(BinaryWriter &out, const Row &row)
{
    out.writeInt32(static_cast<qint32>(row.subItems.size()));
    out.writeText(row.caption);
    for (const QString &text : row.subItems)
        out.writeText(text);
}

void readRowInto(BinaryReader &in, Row &row)
{
    const qint32 subItemCount = in.readInt32();
    row.caption = in.readText();
    if (subItemCount <= 0)
        return;
    in.requireAtLeast(subItemCount * kMinTextBytes);
    row.subItems.reserve(subItemCount);
    for (qint32 i = 0; i < subItemCount; ++i)
        row.subItems.append(in.readText());
}

void writeMasterData(BinaryWriter &out, const MasterData &master)
{
    for (const QString *text :
         {&master.company, &master.firstName, &master.lastName, &master.street, &master.postcode,
          &master.town, &master.country, &master.telephone, &master.registrationNumber,
          &master.registrationAuthority})
        out.writeText(*text);
    out.writeFloat64(master.startKm);
    out.writeFloat64(master.firstRegistration);
    out.writeFloat64(master.registration);
}

void readMasterData(BinaryReader &in, MasterData &master)
{
    for (QString *text : {&master.company, &master.firstName, &master.lastName, &master.street,
                          &master.postcode, &master.town, &master.country, &master.telephone,
                          &master.registrationNumber, &master.registrationAuthority})
        *text = in.readText();
    master.startKm = startKmFromStoredValue(in.readFloat64());
    master.firstRegistration = in.readFloat64();
    master.registration = in.readFloat64();
}

void writePrintSettings(BinaryWriter &out, const PrintSettings &print)
{
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
}

void readPrintSettings(BinaryReader &in, PrintSettings &print)
{
    // The two range flags are applied in file order, as to two radio buttons: a set first
    // flag chooses "all trips", a set second flag wins over it.
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

} // namespace fb
