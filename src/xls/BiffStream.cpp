#include "BiffStream.h"

#include "CFile.h"

#include <QString>
#include <QtEndian>

#include <bit>
#include <cstring>

namespace fb::xls {

BiffStream::BiffStream(TCFileStream &stream) : m_stream(stream)
{
    m_buffer.reserve(kFlushSize + 4096);
}

BiffStream::~BiffStream() = default;

void BiffStream::WriteWord(std::uint16_t value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    m_buffer.append(bytes, 2);
    flushIfFull();
}

void BiffStream::WriteDWord(std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_buffer.append(bytes, 4);
    flushIfFull();
}

void BiffStream::WriteDouble(double value)
{
    char bytes[8];
    qToLittleEndian(std::bit_cast<std::uint64_t>(value), bytes);
    m_buffer.append(bytes, 8);
    flushIfFull();
}

void BiffStream::WriteBytes(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    flushIfFull();
}

void BiffStream::WriteUtf16(const QString &text)
{
    for (const QChar c : text) {
        char bytes[2];
        qToLittleEndian<std::uint16_t>(c.unicode(), bytes);
        m_buffer.append(bytes, 2);
    }
    flushIfFull();
}

void BiffStream::BeginRecord(std::uint16_t id, std::uint16_t length)
{
    WriteWord(id);
    WriteWord(length);
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
        std::memcpy(m_buffer.data() + (position - m_flushed), bytes, static_cast<size_t>(count));
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
        m_buffer.append(QByteArray(block - remainder, '\0'));
    flushIfFull();
}

void BiffStream::Flush()
{
    if (m_buffer.isEmpty())
        return;
    // A write the stream does not take in full means the file is incomplete; reporting it
    // now beats reporting success for a broken file.
    if (!m_stream.WriteBuffer(m_buffer.constData(), m_buffer.size()))
        throw ECFileError(ECFileError::CommitStorage);
    m_flushed += m_buffer.size();
    m_buffer.resize(0);
}

} // namespace fb::xls
