// libFuzzer target: any bytes as a logbook file must end in a logbook or a FileError /
// ConversionError, never a crash, a hang or an allocation the file cannot account for.
#include "core/error.h"
#include "model/logbook_format.h"
#include "model/odometer.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    fb::Logbook logbook;
    try {
        fb::readLogbook(buffer, logbook);
        fb::UpdateKMSTands(logbook);
    } catch (const fb::Error &) {
    }
    return 0;
}
