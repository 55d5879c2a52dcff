#include "file_fingerprint.h"

#include <QFile>

#include <sys/stat.h>

namespace fb {
namespace {

FileFingerprint fromStatus(const struct stat &status)
{
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

} // namespace

std::optional<FileFingerprint> fingerprintOf(const QString &path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return fromStatus(status);
}

std::optional<FileFingerprint> fingerprintOfHandle(int handle)
{
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        return std::nullopt;
    return fromStatus(status);
}

} // namespace fb
