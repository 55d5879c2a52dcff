#include "operation_codec.h"

#include "core/file_error.h"
#include "logbook_fields.h"

namespace fb {
namespace {

// The type byte of each operation; stored, so never renumbered.
enum class OperationType : quint8 {
    NewTrip = 1,
    CopyTrip = 2,
    ChangeTrip = 3,
    DeleteTrip = 4,
    SetMasterData = 5,
    NewTemplate = 6,
    ChangeTemplate = 7,
    DeleteTemplate = 8,
    SetPrintOptions = 9,
    RecordOdometerReading = 10,
};

// The font record keeps the font's pixels per inch only as the writer's; an operation keeps
// the font exactly.
void writeExactFont(BinaryWriter &out, const PrintFont &font)
{
    writeFont(out, font);
    out.writeInt32(font.pixelsPerInch);
}

PrintFont readExactFont(BinaryReader &in)
{
    PrintFont font;
    readFont(in, font);
    font.pixelsPerInch = in.readInt32();
    return font;
}

Row readRow(BinaryReader &in)
{
    Row row;
    readRowInto(in, row);
    return row;
}

void encodeBody(BinaryWriter &out, const LogbookOperation &operation)
{
    const auto type = [&](OperationType value) {
        out.writeByte(quint8(value));
    };
    std::visit(Overloaded{
                   [&](const NewTrip &op) {
                       type(OperationType::NewTrip);
                       writeRow(out, op.trip);
                   },
                   [&](const CopyTrip &op) {
                       type(OperationType::CopyTrip);
                       out.writeInt64(op.source);
                       writeRow(out, op.trip);
                   },
                   [&](const ChangeTrip &op) {
                       type(OperationType::ChangeTrip);
                       out.writeInt64(op.row);
                       writeRow(out, op.trip);
                   },
                   [&](const DeleteTrip &op) {
                       type(OperationType::DeleteTrip);
                       out.writeInt64(op.row);
                   },
                   [&](const SetMasterData &op) {
                       type(OperationType::SetMasterData);
                       writeMasterData(out, op.master);
                   },
                   [&](const NewTemplate &op) {
                       type(OperationType::NewTemplate);
                       writeRow(out, op.entry);
                   },
                   [&](const ChangeTemplate &op) {
                       type(OperationType::ChangeTemplate);
                       out.writeInt64(op.row);
                       writeRow(out, op.entry);
                   },
                   [&](const DeleteTemplate &op) {
                       type(OperationType::DeleteTemplate);
                       out.writeInt64(op.row);
                   },
                   [&](const SetPrintOptions &op) {
                       type(OperationType::SetPrintOptions);
                       writePrintSettings(out, op.print);
                       out.writeFlag(op.print.printTimes);
                       writeExactFont(out, op.headingFont);
                       writeExactFont(out, op.textFont);
                   },
                   [&](const RecordOdometerReading &op) {
                       type(OperationType::RecordOdometerReading);
                       out.writeFloat64(op.at);
                       out.writeFloat64(op.km);
                       out.writeText(op.note);
                   },
               },
               operation);
}

LogbookOperation decodeBody(BinaryReader &in, OperationType type)
{
    switch (type) {
    case OperationType::NewTrip:
        return NewTrip{readRow(in)};
    case OperationType::CopyTrip: {
        const qint64 source = in.readInt64();
        return CopyTrip{source, readRow(in)};
    }
    case OperationType::ChangeTrip: {
        const qint64 row = in.readInt64();
        return ChangeTrip{row, readRow(in)};
    }
    case OperationType::DeleteTrip:
        return DeleteTrip{in.readInt64()};
    case OperationType::SetMasterData: {
        SetMasterData op;
        readMasterData(in, op.master);
        return op;
    }
    case OperationType::NewTemplate:
        return NewTemplate{readRow(in)};
    case OperationType::ChangeTemplate: {
        const qint64 row = in.readInt64();
        return ChangeTemplate{row, readRow(in)};
    }
    case OperationType::DeleteTemplate:
        return DeleteTemplate{in.readInt64()};
    case OperationType::SetPrintOptions: {
        SetPrintOptions op;
        readPrintSettings(in, op.print);
        op.print.printTimes = in.readFlag();
        op.headingFont = readExactFont(in);
        op.textFont = readExactFont(in);
        return op;
    }
    case OperationType::RecordOdometerReading: {
        RecordOdometerReading op;
        op.at = in.readFloat64();
        op.km = in.readFloat64();
        op.note = in.readText();
        return op;
    }
    }
    throw OperationError(QStringLiteral("Unknown operation type %1.").arg(int(type)));
}

} // namespace

QByteArray encodeOperation(const TimedOperation &operation)
{
    return bytesWrittenBy([&](BinaryWriter &out) {
        out.writeInt64(operation.appliedAt.toMSecsSinceEpoch());
        encodeBody(out, operation.operation);
    });
}

TimedOperation decodeOperation(const QByteArray &bytes)
{
    try {
        return readFromBytes(bytes, [](BinaryReader &in) {
            TimedOperation operation;
            operation.appliedAt = QDateTime::fromMSecsSinceEpoch(in.readInt64(), Qt::UTC);
            operation.operation = decodeBody(in, OperationType(in.readByte()));
            if (in.remaining() != 0)
                throw OperationError(
                    QStringLiteral("%1 bytes after an operation.").arg(in.remaining()));
            return operation;
        });
    } catch (const FileError &error) {
        throw OperationError(QStringLiteral("An operation is cut short: %1").arg(error.message()));
    }
}

} // namespace fb
