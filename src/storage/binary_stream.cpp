#include "binary_stream.h"

#include "core/file_error.h"

#include <QBuffer>
#include <QSysInfo>
#include <QtEndian>

#include <bit>
#include <cerrno>
#include <cstring>

namespace fb {
namespace {

constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
constexpr bool kHostIsLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

[[noreturn]] void throwReadBeyondEnd()
{
    throw FileError(FileError::kEndOfFile);
}

[[noreturn]] void throwSystemError(int errorNumber)
{
    throw FileError(errorNumber);
}

void swapUnits(char16_t *units, qint64 count)
{
    for (qint64 i = 0; i < count; ++i)
        units[i] = qbswap(units[i]);
}

} // namespace

BinaryReader::BinaryReader(QIODevice &device, qint64 wholeFileLimit) : m_device(device)
{
    // Pipes and other sequential devices do not know their size: read them whole first.
    if (device.isSequential()) {
        errno = 0;
        const QByteArray all = device.readAll();
        if (!device.atEnd() && errno != 0)
            throwSystemError(errno);
        m_buffer = all;
        m_end = static_cast<std::size_t>(m_buffer.size());
        return;
    }
    m_unread = device.size() - device.pos();
    if (m_unread <= wholeFileLimit)
        readWhole();
    else
        m_buffer.resize(static_cast<qsizetype>(kBufferSize));
}

void BinaryReader::readWhole()
{
    m_buffer.resize(m_unread); // left uninitialised: the read fills it
    while (m_unread > 0) {
        errno = 0;
        const qint64 got = m_device.read(m_buffer.data() + m_end, m_unread);
        if (got < 0)
            throwSystemError(errno != 0 ? errno : EIO);
        if (got == 0) // the file shrank while it was read: what is there is all there is
            break;
        m_end += static_cast<std::size_t>(got);
        m_unread -= got;
    }
    m_unread = 0;
}

void BinaryReader::requireAtLeast(qint64 count) const
{
    if (count < 0 || count > remaining())
        throwReadBeyondEnd();
}

QByteArrayView BinaryReader::unreadInMemory() const
{
    if (m_unread != 0)
        return {};
    return QByteArrayView(m_buffer.constData() + m_pos, qsizetype(m_end - m_pos));
}

void BinaryReader::skipInMemory(qint64 count)
{
    Q_ASSERT(m_unread == 0 && count >= 0 && static_cast<std::size_t>(count) <= m_end - m_pos);
    m_pos += static_cast<std::size_t>(count);
}

QByteArrayView BinaryReader::allInMemory() const
{
    if (m_unread != 0 || m_base != 0)
        return {};
    return QByteArrayView(m_buffer.constData(), qsizetype(m_end));
}

void BinaryReader::refill()
{
    m_base += qint64(m_end);
    m_pos = 0;
    m_end = 0;
    const qint64 wanted = std::min(m_unread, m_buffer.size());
    errno = 0;
    const qint64 got = m_device.read(m_buffer.data(), wanted);
    if (got < 0)
        throwSystemError(errno != 0 ? errno : EIO);
    if (got == 0) // the file shrank while it was read
        throwReadBeyondEnd();
    m_end = static_cast<std::size_t>(got);
    m_unread -= got;
}

void BinaryReader::readRaw(void *target, qint64 count)
{
    // Most fields lie wholly in the buffer: copy them without the general loop.
    if (count >= 0 && static_cast<std::size_t>(count) <= m_end - m_pos) {
        std::memcpy(target, m_buffer.constData() + m_pos, static_cast<std::size_t>(count));
        m_pos += static_cast<std::size_t>(count);
        return;
    }
    requireAtLeast(count);
    auto *out = static_cast<char *>(target);
    while (count > 0) {
        if (m_pos == m_end) {
            refill();
        }
        const auto chunk = std::min<qint64>(count, static_cast<qint64>(m_end - m_pos));
        std::memcpy(out, m_buffer.constData() + m_pos, static_cast<std::size_t>(chunk));
        m_pos += static_cast<std::size_t>(chunk);
        out += chunk;
        count -= chunk;
    }
}

qint32 BinaryReader::readInt32()
{
    qint32 value = 0;
    readRaw(&value, sizeof value);
    return qFromLittleEndian(value);
}

qint64 BinaryReader::readInt64()
{
    qint64 value = 0;
    readRaw(&value, sizeof value);
    return qFromLittleEndian(value);
}

double BinaryReader::readFloat64()
{
    quint64 bits = 0;
    readRaw(&bits, sizeof bits);
    return std::bit_cast<double>(qFromLittleEndian(bits));
}

quint8 BinaryReader::readByte()
{
    quint8 value = 0;
    readRaw(&value, 1);
    return value;
}

QString BinaryReader::readText()
{
    const qint32 length = readInt32();
    if (length < 0)
        throwReadBeyondEnd();
    if (length == 0)
        return {};
    requireAtLeast(2 * static_cast<qint64>(length));
    QString text(length, Qt::Uninitialized);
    readRaw(text.data(), 2 * static_cast<qint64>(length));
    if constexpr (!kHostIsLittleEndian)
        swapUnits(reinterpret_cast<char16_t *>(text.data()), length);
    return text;
}

QByteArray BinaryReader::readBytes(qint64 count)
{
    requireAtLeast(count);
    QByteArray bytes(count, Qt::Uninitialized);
    readRaw(bytes.data(), count);
    return bytes;
}

BinaryWriter::BinaryWriter(QIODevice &device) : m_device(device)
{
    m_buffer.reserve(kBufferSize + 1024);
}

void BinaryWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    if (m_hash)
        m_hash->addData(m_buffer);
    errno = 0;
    const qint64 written = m_device.write(m_buffer);
    if (written != m_buffer.size()) {
        const int errorNumber = errno;
        // A short write without a system error is a full disk.
        throwSystemError(errorNumber != 0 ? errorNumber : ENOSPC);
    }
    m_buffer.clear();
}

void BinaryWriter::flushIfFull()
{
    if (static_cast<std::size_t>(m_buffer.size()) >= kBufferSize)
        flush();
}

void BinaryWriter::writeInt32(qint32 value)
{
    const qint32 little = qToLittleEndian(value);
    m_buffer.append(reinterpret_cast<const char *>(&little), sizeof little);
    flushIfFull();
}

void BinaryWriter::writeInt64(qint64 value)
{
    const qint64 little = qToLittleEndian(value);
    m_buffer.append(reinterpret_cast<const char *>(&little), sizeof little);
    flushIfFull();
}

void BinaryWriter::writeFloat64(double value)
{
    const quint64 little = qToLittleEndian(std::bit_cast<quint64>(value));
    m_buffer.append(reinterpret_cast<const char *>(&little), sizeof little);
    flushIfFull();
}

void BinaryWriter::writeByte(quint8 value)
{
    m_buffer.append(static_cast<char>(value));
    flushIfFull();
}

void BinaryWriter::writeText(const QString &text)
{
    writeInt32(static_cast<qint32>(text.size()));
    if constexpr (kHostIsLittleEndian) {
        m_buffer.append(reinterpret_cast<const char *>(text.constData()), 2 * text.size());
    } else {
        for (const QChar c : text) {
            const char16_t unit = qToLittleEndian(c.unicode());
            m_buffer.append(reinterpret_cast<const char *>(&unit), 2);
        }
    }
    flushIfFull();
}

void BinaryWriter::writeBytes(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    flushIfFull();
}

} // namespace fb
