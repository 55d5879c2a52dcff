#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <memory>

namespace fb::xls {

class TCFileStream;

// Record output into the "Workbook" stream: little-endian values, record headers and
// length back-fill. Counter() is the number of bytes written so far, which is also the
// stream position of the next byte, since the stream starts empty.
//
// Output is collected in a buffer and handed to the stream in large blocks; a back-fill
// that still lies in the buffer is patched there, an older one seeks the stream.
class BiffStream {
public:
    // The largest record data; only the shared string table spills into CONTINUE records.
    static constexpr int kMaxRecordData = 8224;

    explicit BiffStream(TCFileStream &stream);
    ~BiffStream();

    BiffStream(const BiffStream &) = delete;
    BiffStream &operator=(const BiffStream &) = delete;

    qint64 Counter() const noexcept { return m_flushed + qint64(m_used); }

    void WriteByte(std::uint8_t value)
    {
        char *out = reserve(1);
        *out = static_cast<char>(value);
    }
    void WriteWord(std::uint16_t value);
    void WriteDWord(std::uint32_t value);
    void WriteDouble(double value);
    void WriteBytes(QByteArrayView bytes);
    // Text as UTF-16 code units, low byte first.
    void WriteUtf16(const QString &text);

    // A record header with a known data length.
    void BeginRecord(std::uint16_t id, std::uint16_t length);
    // A record header whose length is back-filled by EndRecord; returns the length field's
    // position.
    qint64 BeginRecord(std::uint16_t id);
    // Back-fills the length of the record whose length field lies at lengthField.
    void EndRecord(qint64 lengthField);

    // Overwrites earlier bytes without moving the counter.
    void PatchWord(qint64 position, std::uint16_t value);
    void PatchDWord(qint64 position, std::uint32_t value);

    // Appends zero bytes up to the next multiple of `block`.
    void PadTo(int block);
    // Hands all buffered bytes to the stream; a short write raises ECFileError.
    void Flush();

private:
    // Room for count bytes at the end of the buffer, which they then belong to.
    char *reserve(std::size_t count)
    {
        if (m_used + count > kBufferSize)
            Flush();
        char *out = m_buffer.get() + m_used;
        m_used += count;
        return out;
    }
    void patch(qint64 position, const char *bytes, int count);

    static constexpr std::size_t kBufferSize = std::size_t(1) << 16;

    TCFileStream &m_stream;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    qint64 m_flushed = 0; // bytes handed to the stream
};

} // namespace fb::xls
