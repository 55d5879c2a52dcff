#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QCryptographicHash>
#include <QIODevice>
#include <QString>

#include <vector>

namespace fb {

// Little-endian reader of the logbook file's fields. It knows how many bytes the file still
// holds, so a count or length that cannot fit ends the read before anything is reserved for
// it. Every shortfall throws FileError "Read beyond end of file"; a failed read throws the
// message for the system error.
class BinaryReader {
public:
    // A logbook's texts take as much memory as its file, so holding the file while it is read
    // costs little; larger files are read in pieces, so that a huge damaged one fails early.
    static constexpr qint64 kWholeFileLimit = qint64{256} << 20;

    // A device of up to wholeFileLimit bytes is read into memory at once.
    explicit BinaryReader(QIODevice &device, qint64 wholeFileLimit = kWholeFileLimit);

    qint32 readInt32();
    qint64 readInt64();
    double readFloat64();
    quint8 readByte();
    bool readFlag() { return readByte() != 0; }
    // A text as a length in UTF-16 units and the units as UTF-16LE.
    QString readText();
    QByteArray readBytes(qint64 count);

    qint64 remaining() const { return static_cast<qint64>(m_end - m_pos) + m_unread; }
    // Throws when fewer than count bytes are left.
    void requireAtLeast(qint64 count) const;

    // Every byte not yet read, when all of them are in memory; an empty view otherwise.
    QByteArrayView unreadInMemory() const;
    // Passes over count bytes of those that unreadInMemory() showed.
    void skipInMemory(qint64 count);
    // Every byte of the device, when the whole of it is in memory; an empty view otherwise.
    QByteArrayView allInMemory() const;
    // The memory that allInMemory() shows, shared, for a caller that keeps it beyond the
    // reader; nothing when the device is not wholly in memory.
    QByteArray wholeInMemory() const { return allInMemory().isEmpty() ? QByteArray() : m_buffer; }
    // How many bytes have been read.
    qint64 position() const { return m_base + qint64(m_pos); }

private:
    void readRaw(void *target, qint64 count);
    void readWhole();
    void refill();

    QIODevice &m_device;
    QByteArray m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    qint64 m_unread = 0;
    qint64 m_base = 0; // bytes read before those in the buffer
};

// Little-endian writer of the logbook file's fields, buffered; a failed write throws
// FileError with the message for the system error ("Disk full" for a short write).
class BinaryWriter {
public:
    explicit BinaryWriter(QIODevice &device);

    void writeInt32(qint32 value);
    void writeInt64(qint64 value);
    void writeFloat64(double value);
    void writeByte(quint8 value);
    void writeFlag(bool value) { writeByte(value ? 1 : 0); }
    void writeText(const QString &text);
    void writeBytes(const QByteArray &bytes);
    // Writes what is buffered; call it before the device is committed.
    void flush();
    // Feeds every byte written from now on to the hash as well, until it is set to nothing.
    void setHash(QCryptographicHash *hash) { m_hash = hash; }

private:
    void flushIfFull();

    QIODevice &m_device;
    QByteArray m_buffer;
    QCryptographicHash *m_hash = nullptr;
};

// The bytes that write puts out through a BinaryWriter: a record held in memory.
template<typename Write> QByteArray bytesWrittenBy(Write &&write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    BinaryWriter out(buffer);
    write(out);
    out.flush();
    return bytes;
}

// What read makes of bytes held in memory through a BinaryReader.
template<typename Read> auto readFromBytes(const QByteArray &bytes, Read &&read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    BinaryReader in(buffer);
    return read(in);
}

} // namespace fb
