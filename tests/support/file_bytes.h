#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace fb::test {

// The whole file; empty where it cannot be read, so a comparison with what should be there
// fails.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes the bytes the whole file; false where they could not all be written.
inline bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace fb::test
