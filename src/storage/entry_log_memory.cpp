#include "entry_log_memory.h"

#include "core/file_error.h"
#include "core/replacing_file.h"
#include "per_logbook_path.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Read without following a link and without waiting: a pipe put there must not hold the
    // program at every load.
    const QByteArray native = QFile::encodeName(memoryPathFor(folder, logbookPath));
    const int handle = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (handle < 0)
        return std::nullopt;
    QFile file;
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return std::nullopt;
    }
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
    // Best effort: a value that cannot be written leaves the one before, or none.
    try {
        ReplacingFile file(path);
        file.create();
        const QByteArray line = chainValue.toHex() + '\n';
        if (::write(file.handle(), line.constData(), size_t(line.size())) == line.size())
            file.commit();
    } catch (const FileError &) {
    }
}

} // namespace fb
