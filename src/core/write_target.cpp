#include "write_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>
#include <optional>

namespace fb {
namespace {

std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

// The path with its folder resolved as far as it exists, so that "a/../b.fbu", "./b.fbu"
// and a symbolic link to the folder name the same place.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return QDir(folder).filePath(info.fileName());
}

} // namespace

int writeTargetRefusal(const QString &path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    if (!S_ISREG(status.st_mode) || (status.st_mode & S_IWUSR) == 0)
        return EACCES;
    return 0;
}

bool isSameFile(const QString &a, const QString &b)
{
    const auto statusA = statusOf(a);
    const auto statusB = statusOf(b);
    if (statusA && statusB)
        return statusA->st_dev == statusB->st_dev && statusA->st_ino == statusB->st_ino;
    return !statusA && !statusB && resolvedPath(a) == resolvedPath(b);
}

} // namespace fb
