#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdint>
#include <vector>

namespace fb::xls {
class TXLSFile;
}

namespace fb::xls::test {

struct Record {
    qint64 offset; // of the record header in the stream
    std::uint16_t id;
    QByteArray data;
};

// Splits a BIFF stream into records; stops at trailing zero padding.
std::vector<Record> parseRecords(const QByteArray &stream);

std::vector<Record> recordsWithId(const std::vector<Record> &records, std::uint16_t id);

// Saves the file into dir and returns the "Workbook" stream read back through TCFile.
QByteArray saveAndReadStream(TXLSFile &file, const QTemporaryDir &dir);

// Bytes from a hex text such as "C8 00 00 00".
QByteArray hexBytes(const char *hex);

std::uint16_t word(const QByteArray &data, qsizetype offset);
std::uint32_t dword(const QByteArray &data, qsizetype offset);

} // namespace fb::xls::test
