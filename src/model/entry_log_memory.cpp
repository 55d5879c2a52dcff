#include "entry_log_memory.h"

#include "per_logbook_path.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace fb {
namespace {

constexpr qsizetype kChainValueHexDigits = 64;

QString memoryPathFor(const QString &folder, const QString &logbookPath)
{
    return perLogbookPath(folder, logbookPath, QStringLiteral(".protokoll"));
}

} // namespace

std::optional<QByteArray> recallChainValue(const QString &folder, const QString &logbookPath)
{
    QFile file(memoryPathFor(folder, logbookPath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray hex = file.read(kChainValueHexDigits + 1).trimmed();
    if (hex.size() != kChainValueHexDigits)
        return std::nullopt;
    return QByteArray::fromHex(hex);
}

void rememberChainValue(const QString &folder, const QString &logbookPath,
                        const QByteArray &chainValue)
{
    const QString path = memoryPathFor(folder, logbookPath);
    if (chainValue.isEmpty()) {
        QFile::remove(path);
        return;
    }
    if (!QDir().mkpath(folder))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(chainValue.toHex() + '\n');
    file.commit();
}

} // namespace fb
