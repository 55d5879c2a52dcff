#include "checked_write_device.h"

#include <cerrno>

#include <unistd.h>

namespace fb {
namespace {

constexpr qsizetype kBufferSize = 64 * 1024;

} // namespace

CheckedWriteDevice::CheckedWriteDevice(int handle) : m_handle(handle)
{
    m_buffer.reserve(kBufferSize);
    open(QIODevice::WriteOnly);
}

qint64 CheckedWriteDevice::writeData(const char *data, qint64 size)
{
    if (m_errorNumber != 0)
        return size;
    if (m_buffer.size() + size > kBufferSize) {
        writeOut(m_buffer.constData(), m_buffer.size());
        m_buffer.clear();
    }
    if (size >= kBufferSize)
        writeOut(data, size);
    else
        m_buffer.append(data, size);
    return size;
}

int CheckedWriteDevice::finish()
{
    writeOut(m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
    return m_errorNumber;
}

void CheckedWriteDevice::writeOut(const char *data, qint64 size)
{
    while (size > 0 && m_errorNumber == 0) {
        const ssize_t written = ::write(m_handle, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing without an error is a full disk as well.
            m_errorNumber = written < 0 && errno != 0 ? errno : ENOSPC;
            return;
        }
        data += written;
        size -= written;
    }
}

} // namespace fb
