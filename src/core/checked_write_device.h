#pragma once

#include <QByteArray>
#include <QIODevice>

namespace fb {

// Writes to a file descriptor that it does not own, through a buffer, for a writer that does
// not check its writes (Qt's PDF engine): every write is taken as if it succeeded, and the
// first failure's error number is kept for the caller, who asks finish() at the end. Nothing
// more is written after a failure.
class CheckedWriteDevice : public QIODevice {
public:
    explicit CheckedWriteDevice(int handle);

    bool isSequential() const override { return true; }

    // Writes out what is buffered; 0 when every byte reached the file, else the first error.
    int finish();
    int errorNumber() const { return m_errorNumber; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    void writeOut(const char *data, qint64 size);

    int m_handle;
    int m_errorNumber = 0;
    QByteArray m_buffer;
};

} // namespace fb
