// libFuzzer target: any bytes as a logbook file must end in a logbook or a FileError /
// ConversionError, never a crash, a hang or an allocation the file cannot account for.
// Beyond that:
//  - the file read at once and read in pieces give the same logbook and the same error
//    (the fast row decoder and the field-by-field reader must agree, also on what a
//    damaged file keeps);
//  - a logbook that loads is written, and that file reads back to the same bytes when
//    written again: the program opens every file it wrote.
#include "core/error.h"
#include "fuzz_check.h"
#include "model/odometer.h"
#include "storage/logbook_format.h"
#include "storage/logbook_json.h"

#include <QBuffer>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <optional>

using fb::fuzz::require;

namespace {

// The logbook as read (its error message, if any), with the settings a new document takes
// from the clock fixed, so two reads of the same bytes compare equal.
struct ReadResult {
    QByteArray written;
    std::optional<QString> error;
};

void resetClockDefaults(fb::Logbook &logbook)
{
    logbook.print.rangeFrom = 0;
    logbook.print.rangeTo = 0;
}

QByteArray toBytes(const fb::Logbook &logbook)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    fb::writeLogbook(buffer, logbook);
    return buffer.data();
}

ReadResult readAndWrite(const QByteArray &bytes, qint64 wholeFileLimit, fb::Logbook &logbook)
{
    resetClockDefaults(logbook);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ReadResult result;
    try {
        fb::readLogbook(buffer, logbook, wholeFileLimit);
    } catch (const fb::Error &error) {
        result.error = error.message();
    }
    result.written = toBytes(logbook);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    fb::Logbook atOnce;
    const ReadResult whole = readAndWrite(bytes, fb::BinaryReader::kWholeFileLimit, atOnce);
    fb::Logbook inPieces;
    const ReadResult pieces = readAndWrite(bytes, 0, inPieces);
    require(whole.error == pieces.error, "the same error either way",
            whole.error.value_or(QStringLiteral("none")) + QStringLiteral(" / ") +
                pieces.error.value_or(QStringLiteral("none")));
    require(whole.written == pieces.written, "the same logbook either way");

    if (!whole.error) {
        fb::Logbook reread;
        const ReadResult again =
            readAndWrite(whole.written, fb::BinaryReader::kWholeFileLimit, reread);
        require(!again.error, "a written logbook reads back", again.error.value_or(QString()));
        require(again.written == whole.written, "a written logbook reads back the same");
    }

    // What a load does next: the odometer pass, and the JSON view of the dates and fonts.
    try {
        fb::UpdateKMSTands(atOnce);
    } catch (const fb::Error &) {
    }
    const QByteArray json = QJsonDocument(fb::logbookToJson(atOnce)).toJson();
    require(!json.isEmpty(), "the logbook shows as JSON");
    return 0;
}
