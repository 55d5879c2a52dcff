#pragma once

#include "file_bytes.h"
#include "sample_logbook.h"

#include "model/logbook.h"
#include "storage/logbook_format.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

namespace fb::test {

inline QByteArray toBytes(const Logbook &logbook)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeLogbook(buffer, logbook);
    return buffer.data();
}

// Reads bytes into the logbook as a load does (the caller empties tables first).
inline void readBytes(const QByteArray &bytes, Logbook &logbook)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    readLogbook(buffer, logbook);
}

} // namespace fb::test
