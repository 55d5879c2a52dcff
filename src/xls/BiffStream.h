#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

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

    qint64 Counter() const noexcept { return m_flushed + m_buffer.size(); }

    void WriteByte(std::uint8_t value)
    {
        m_buffer.append(static_cast<char>(value));
        flushIfFull();
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
    void flushIfFull()
    {
        if (m_buffer.size() >= kFlushSize)
            Flush();
    }
    void patch(qint64 position, const char *bytes, int count);

    static constexpr qsizetype kFlushSize = 1 << 16;

    TCFileStream &m_stream;
    QByteArray m_buffer;
    qint64 m_flushed = 0; // bytes handed to the stream
};

} // namespace fb::xls
