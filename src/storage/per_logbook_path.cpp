#include "per_logbook_path.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace fb {

QString perLogbookPath(const QString &folder, const QString &logbookPath, const QString &suffix)
{
    const QFileInfo info(logbookPath);
    const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray digest =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QDir(folder).filePath(
        QStringLiteral("%1-%2%3").arg(info.fileName().left(64), QLatin1String(digest), suffix));
}

} // namespace fb
