#include "audit_export.h"

#include "audit_index.h"
#include "audit_tables.h"
#include "core/error.h"
#include "core/file_error.h"
#include "core/replacing_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {
namespace {

constexpr long kUsualNameMax = 255;

// The hidden folder the files are written into; removed with what it holds unless it was
// renamed into the target's place.
class TemporaryFolder {
public:
    TemporaryFolder() = default;
    ~TemporaryFolder()
    {
        if (!m_path.isEmpty())
            QDir(QFile::decodeName(m_path)).removeRecursively();
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    // Makes a folder of its own beside target, with the mode a new folder gets from the
    // system; 0 or the error number.
    int create(const QByteArray &parent, const QByteArray &name)
    {
        static constexpr char kLetters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        const long nameMax = ::pathconf(parent.constData(), _PC_NAME_MAX);
        QByteArray path =
            parent + '/' + temporaryNameTemplate(name, nameMax > 0 ? nameMax : kUsualNameMax);
        const qsizetype at = path.size() - 6;
        for (int attempt = 0; attempt < 100; ++attempt) {
            for (qsizetype i = at; i < path.size(); ++i)
                path[i] = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
            if (::mkdir(path.constData(), 0777) == 0) {
                m_path = path;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }
    const QByteArray &path() const { return m_path; }
    void keep() { m_path.clear(); }

private:
    QByteArray m_path;
};

// Writes a new file with the bytes and syncs it; 0 or the error number.
int writeNewFile(const QByteArray &path, const QByteArray &bytes)
{
    const int handle = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (handle < 0)
        return errno;
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && error == 0;) {
        const ssize_t written =
            ::write(handle, bytes.constData() + done, size_t(bytes.size() - done));
        if (written > 0)
            done += written;
        else if (written == 0)
            error = ENOSPC;
        else if (errno != EINTR)
            error = errno;
    }
    // Some file systems cannot sync and say so with EINVAL.
    if (error == 0 && ::fsync(handle) != 0 && errno != EINVAL)
        error = errno;
    if (::close(handle) != 0 && error == 0)
        error = errno;
    return error;
}

void check(int error)
{
    if (error != 0)
        throw FileError(error);
}

// The target as a path to rename onto: links to an existing folder followed. Refuses a
// target that is no folder or holds anything; gives the existing folder's mode, or nothing.
std::optional<mode_t> checkedTarget(QString &folder)
{
    const QFileInfo target(folder);
    folder = target.absoluteFilePath();
    if (!target.exists() && !target.isSymLink())
        return std::nullopt;
    if (!target.isDir())
        throw Error(QStringLiteral("„%1“ ist kein Ordner. Bitte einen leeren oder neuen Ordner "
                                   "wählen.")
                        .arg(fileTextForMessage(folder)));
    folder = target.canonicalFilePath();
    if (!QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                              QDir::System))
        throw Error(QStringLiteral("Der Ordner „%1“ enthält bereits Dateien. Bitte einen leeren "
                                   "oder neuen Ordner wählen.")
                        .arg(fileTextForMessage(folder)));
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0)
        throw FileError(errno);
    return status.st_mode & 07777;
}

} // namespace

QStringList auditFileNames()
{
    return {QStringLiteral("index.xml"), QLatin1String(kAuditDtdFileName),
            QStringLiteral("fahrten.csv"), QStringLiteral("protokoll.csv"),
            QStringLiteral("stammdaten.csv")};
}

void exportAuditData(const Logbook &logbook, const QString &folder)
{
    QString target = folder;
    const std::optional<mode_t> existingMode = checkedTarget(target);
    const QList<AuditTable> tables = {auditTripTable(logbook), auditProtocolTable(logbook),
                                      auditMasterDataTable(logbook.master)};
    QList<QByteArray> contents = {
        auditIndexXml(auditSupplier(logbook), tables, auditPeriod(logbook.trips)), auditDtd()};
    for (const AuditTable &table : tables)
        contents.append(auditCsv(table));

    const QFileInfo targetInfo(target);
    const QByteArray parent = QFile::encodeName(targetInfo.absolutePath());
    errno = 0;
    if (!QDir().mkpath(targetInfo.absolutePath()))
        throw FileError(errno != 0 ? errno : EACCES);
    TemporaryFolder temporary;
    check(temporary.create(parent, QFile::encodeName(targetInfo.fileName())));
    const QStringList names = auditFileNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        check(
            writeNewFile(temporary.path() + '/' + QFile::encodeName(names.at(i)), contents.at(i)));
    check(syncFolder(temporary.path()));
    if (existingMode && ::chmod(temporary.path().constData(), *existingMode) != 0)
        throw FileError(errno);
    // An empty folder in the target's place is replaced in the same step.
    if (::rename(temporary.path().constData(), QFile::encodeName(target).constData()) != 0)
        throw FileError(errno);
    temporary.keep();
    check(syncFolder(parent));
}

} // namespace fb
