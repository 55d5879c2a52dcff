#include "BiffStream.h"

#include "CFile.h"

#include <QString>
#include <QtEndian>

#include <bit>
#include <cstring>

namespace fb::xls {

BiffStream::BiffStream(TCFileStream &stream)
    : m_stream(stream), m_buffer(std::make_unique_for_overwrite<char[]>(kBufferSize))
{}

BiffStream::~BiffStream() = default;

void BiffStream::WriteWord(std::uint16_t value)
{
    qToLittleEndian(value, reserve(2));
}

void BiffStream::WriteDWord(std::uint32_t value)
{
    qToLittleEndian(value, reserve(4));
}

void BiffStream::WriteDouble(double value)
{
    qToLittleEndian(std::bit_cast<std::uint64_t>(value), reserve(8));
}

void BiffStream::WriteBytes(QByteArrayView bytes)
{
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size > kBufferSize) {
        Flush();
        if (!m_stream.WriteBuffer(bytes.data(), bytes.size()))
            throw ECFileError(ECFileError::CommitStorage);
        m_flushed += bytes.size();
        return;
    }
    if (size > 0)
        std::memcpy(reserve(size), bytes.data(), size);
}

void BiffStream::WriteUtf16(const QString &text)
{
    for (const QChar c : text)
        WriteWord(c.unicode());
}

void BiffStream::BeginRecord(std::uint16_t id, std::uint16_t length)
{
    char *out = reserve(4);
    qToLittleEndian(id, out);
    qToLittleEndian(length, out + 2);
}

qint64 BiffStream::BeginRecord(std::uint16_t id)
{
    WriteWord(id);
    const qint64 lengthField = Counter();
    WriteWord(0);
    return lengthField;
}

void BiffStream::EndRecord(qint64 lengthField)
{
    const qint64 length = Counter() - lengthField - 2;
    Q_ASSERT(length >= 0 && length <= kMaxRecordData);
    PatchWord(lengthField, static_cast<std::uint16_t>(length));
}

void BiffStream::PatchWord(qint64 position, std::uint16_t value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    patch(position, bytes, 2);
}

void BiffStream::PatchDWord(qint64 position, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    patch(position, bytes, 4);
}

void BiffStream::patch(qint64 position, const char *bytes, int count)
{
    Q_ASSERT(position >= 0 && position + count <= Counter());
    if (position >= m_flushed) {
        std::memcpy(m_buffer.get() + (position - m_flushed), bytes, static_cast<size_t>(count));
        return;
    }
    // Not all bytes need to lie in the stream already: hand the rest over first.
    if (position + count > m_flushed)
        Flush();
    m_stream.SetPosition(position);
    if (!m_stream.WriteBuffer(bytes, count))
        throw ECFileError(ECFileError::CommitStorage);
    m_stream.SetPosition(m_flushed);
}

void BiffStream::PadTo(int block)
{
    const qint64 remainder = Counter() % block;
    if (remainder != 0)
        WriteBytes(QByteArray(block - remainder, '\0'));
}

void BiffStream::Flush()
{
    if (m_used == 0)
        return;
    // A write the stream does not take in full means the file is incomplete; reporting it
    // now beats reporting success for a broken file.
    if (!m_stream.WriteBuffer(m_buffer.get(), qint64(m_used)))
        throw ECFileError(ECFileError::CommitStorage);
    m_flushed += qint64(m_used);
    m_used = 0;
}

} // namespace fb::xls
