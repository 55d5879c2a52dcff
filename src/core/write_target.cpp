#include "write_target.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

namespace fb {

int writeTargetRefusal(const QString &path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    if (!S_ISREG(status.st_mode) || (status.st_mode & S_IWUSR) == 0)
        return EACCES;
    return 0;
}

} // namespace fb
