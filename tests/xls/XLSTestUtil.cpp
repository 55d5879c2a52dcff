#include "XLSTestUtil.h"

#include "xls/CFile.h"
#include "xls/XLSFile.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace fb::xls::test {

std::vector<Record> parseRecords(const QByteArray &stream)
{
    std::vector<Record> records;
    qsizetype pos = 0;
    while (pos + 4 <= stream.size()) {
        const std::uint16_t id = word(stream, pos);
        const std::uint16_t length = word(stream, pos + 2);
        if (id == 0 && length == 0)
            break; // padding
        if (pos + 4 + length > stream.size()) {
            ADD_FAILURE() << "record at " << pos << " runs past the stream end";
            break;
        }
        records.push_back({pos, id, stream.mid(pos + 4, length)});
        pos += 4 + length;
    }
    return records;
}

std::vector<Record> recordsWithId(const std::vector<Record> &records, std::uint16_t id)
{
    std::vector<Record> result;
    for (const Record &r : records) {
        if (r.id == id)
            result.push_back(r);
    }
    return result;
}

QByteArray saveAndReadStream(TXLSFile &file, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("test.xls"));
    file.SaveAs(path);
    TCFile container(TCFileMode::Open, path);
    TCFileStream *stream = container.Root().FindStream("Workbook");
    if (!stream) {
        ADD_FAILURE() << "no Workbook stream";
        return {};
    }
    return stream->ReadAll();
}

QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

std::uint16_t word(const QByteArray &data, qsizetype offset)
{
    return qFromLittleEndian<std::uint16_t>(data.constData() + offset);
}

std::uint32_t dword(const QByteArray &data, qsizetype offset)
{
    return qFromLittleEndian<std::uint32_t>(data.constData() + offset);
}

} // namespace fb::xls::test
