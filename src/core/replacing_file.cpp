#include "replacing_file.h"

#include "file_error.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <pthread.h>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {
namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinksFollowed = 40;
constexpr long kUsualNameMax = 255;
constexpr int kNameAttempts = 100;

// Temporary files that a terminating signal removes. The handler may only read what it finds
// here, so each place holds its path as plain bytes and says by its state when they are
// whole.
struct RemovalSlot {
    enum State : int { Free, Filling, Ready };
    std::atomic<int> state{Free};
    char path[PATH_MAX]{};
};
static_assert(std::atomic<int>::is_always_lock_free);
RemovalSlot g_removalSlots[4];

int claimRemovalSlot(const QByteArray &path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < int(std::size(g_removalSlots)); ++i) {
        RemovalSlot &slot = g_removalSlots[i];
        int expected = RemovalSlot::Free;
        if (slot.state.compare_exchange_strong(expected, RemovalSlot::Filling)) {
            std::memcpy(slot.path, path.constData(), size_t(path.size()));
            slot.path[path.size()] = '\0';
            slot.state.store(RemovalSlot::Ready);
            return i;
        }
    }
    return -1;
}

void releaseRemovalSlot(int index) noexcept
{
    if (index >= 0)
        g_removalSlots[index].state.store(RemovalSlot::Free);
}

extern "C" void removeTemporaryFilesAndEnd(int signalNumber)
{
    const int savedErrno = errno;
    for (RemovalSlot &slot : g_removalSlots) {
        if (slot.state.load() == RemovalSlot::Ready)
            ::unlink(slot.path);
    }
    errno = savedErrno;
    // The handler was reset to the default on entry; the signal, blocked while the handler
    // runs, ends the process as soon as it returns.
    ::raise(signalNumber);
}

// The file that writing to path writes: symbolic links followed, also to a file that does not
// exist yet, so that a link stays a link. 0 or the error number.
int followLinks(QByteArray &path)
{
    for (int hop = 0; hop < kMaxLinksFollowed; ++hop) {
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return 0;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), buffer, sizeof buffer);
        if (length < 0)
            return errno;
        if (length == ssize_t(sizeof buffer))
            return ENAMETOOLONG;
        QByteArray link(buffer, length);
        if (!link.startsWith('/'))
            link.prepend(path.left(path.lastIndexOf('/') + 1));
        path = link;
    }
    return ELOOP;
}

// Replaces the last six characters of path with random letters and digits.
void fillInRandomLetters(QByteArray &path)
{
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (qsizetype i = path.size() - 6; i < path.size(); ++i)
        path[i] = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
}

// The name under which the process reaches an open file, also one without a name of its own.
QByteArray procPathOf(int handle)
{
    return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(handle);
}

// Makes a file of its own from a name ending in "XXXXXX", as mkostemp does, but with the mode
// a new file gets from the system (read and write for all, less the process's mask): reading
// the mask would mean changing it, for every thread of the process at once. The handle, or -1
// with errno set.
int createExclusive(QByteArray &path)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fillInRandomLetters(path);
        const int handle = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle >= 0 || errno != EEXIST)
            return handle;
    }
    errno = EEXIST;
    return -1;
}

// A file without a name in the folder, with the mode createExclusive gives: a process killed
// while it writes leaves nothing behind. -1 where the file system or the kernel has no such
// files, or the process cannot name one later (no /proc), and the file is made with a name.
int createUnnamed(const QByteArray &folder)
{
#ifdef O_TMPFILE
    const int handle = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (handle < 0)
        return -1;
    if (::access(procPathOf(handle).constData(), F_OK) != 0) {
        ::close(handle);
        return -1;
    }
    return handle;
#else
    Q_UNUSED(folder);
    return -1;
#endif
}

// Copies the first size bytes of one file into another at its position: 0 or the error number.
int copyBytes(int from, int to, off_t size)
{
    std::vector<char> buffer(std::size_t(1) << 20);
    for (off_t at = 0; at < size;) {
        const ssize_t got =
            ::pread(from, buffer.data(), std::min<off_t>(off_t(buffer.size()), size - at), at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? errno : EIO;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer.data() + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return errno;
            done += put;
        }
        at += got;
    }
    return 0;
}

// Gives a complete file the owner and permissions of `like` (where the system allows the
// owner), then syncs it: renamed before its data is on the disk, a crash could leave an empty
// file in the target's place. Some file systems cannot sync and say so with EINVAL. 0 or the
// error number.
int settleFile(int handle, const struct stat *like)
{
    if (like && (like->st_uid != ::geteuid() || like->st_gid != ::getegid())) {
        [[maybe_unused]] const int ignored = ::fchown(handle, like->st_uid, like->st_gid);
    }
    if (like && ::fchmod(handle, like->st_mode & 07777) != 0)
        return errno;
    if (::fsync(handle) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

// Holds back the signals that remove the temporary files (SIGTERM, SIGINT, SIGHUP) in this
// thread while a name is given and noted for removal: between the two, one would leave the
// file behind. In a process with other threads the signal may still go to one of them during
// these few instructions; noting the name first would close that gap, but could remove another
// program's file of the same name, which is worse than a hidden file left behind.
class TerminatingSignalsHeld {
public:
    TerminatingSignalsHeld()
    {
        sigset_t terminating;
        ::sigemptyset(&terminating);
        for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
            ::sigaddset(&terminating, signalNumber);
        ::pthread_sigmask(SIG_BLOCK, &terminating, &m_previous);
    }
    ~TerminatingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    TerminatingSignalsHeld(const TerminatingSignalsHeld &) = delete;
    TerminatingSignalsHeld &operator=(const TerminatingSignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

// The rename is on the disk only once the folder that holds the name is: until then a crash
// can bring back the old file, or, for a new one, no file at all. The new file is in place
// either way, so a folder that cannot be synced is no reason to report the save as failed.
void syncFolderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    syncFolder(slash > 0 ? path.left(slash) : QByteArrayLiteral("/"));
}

} // namespace

QByteArray temporaryNameTemplate(const QByteArray &name, long maxLength)
{
    const QByteArray prefix = QByteArrayLiteral(".");
    const QByteArray suffix = QByteArrayLiteral(".XXXXXX");
    qsizetype kept = std::max<qsizetype>(0, maxLength - prefix.size() - suffix.size());
    if (kept < name.size()) {
        // Cut between characters: a UTF-8 continuation byte starts with the bits 10.
        while (kept > 0 && (static_cast<unsigned char>(name.at(kept)) & 0xC0) == 0x80)
            --kept;
    }
    return prefix + name.left(kept) + suffix;
}

ReplacingFile::ReplacingFile(const QString &target) : m_target(target) {}

ReplacingFile::~ReplacingFile()
{
    discard();
}

void ReplacingFile::create()
{
    if (m_target.isEmpty())
        throw FileError(ENOENT);
    m_finalPath = QFile::encodeName(QFileInfo(m_target).absoluteFilePath());
    if (const int error = followLinks(m_finalPath))
        throw FileError(error);
    // A directory, a device or a pipe would be destroyed by the replacement.
    struct stat status {};
    if (::stat(m_finalPath.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        throw FileError(S_ISDIR(status.st_mode) ? EISDIR : EACCES);
    const qsizetype slash = m_finalPath.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? m_finalPath.left(slash) : QByteArrayLiteral("/");
    const long nameMax = ::pathconf(folder.constData(), _PC_NAME_MAX);
    m_nameTemplate =
        folder + '/' +
        temporaryNameTemplate(m_finalPath.mid(slash + 1), nameMax > 0 ? nameMax : kUsualNameMax);
    // Named only when it is complete, the file is never seen half written, and a kill -9 or
    // a power cut while it is written leaves no hidden file beside the target.
    m_handle = createUnnamed(folder);
    if (m_handle >= 0)
        return;
    QByteArray path = m_nameTemplate;
    const TerminatingSignalsHeld held;
    const int handle = createExclusive(path);
    if (handle < 0)
        throw FileError(errno);
    m_handle = handle;
    m_temporaryPath = path;
    m_removalSlot = claimRemovalSlot(m_temporaryPath);
}

int ReplacingFile::nameUnnamedFile()
{
    const QByteArray source = procPathOf(m_handle);
    QByteArray path = m_nameTemplate;
    const TerminatingSignalsHeld held;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fillInRandomLetters(path);
        if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            m_temporaryPath = path;
            m_removalSlot = claimRemovalSlot(m_temporaryPath);
            return 0;
        }
        if (errno != EEXIST)
            return copyIntoNamedFile();
    }
    return EEXIST;
}

int ReplacingFile::copyIntoNamedFile()
{
    struct stat status {};
    if (::fstat(m_handle, &status) != 0)
        return errno;
    QByteArray path = m_nameTemplate;
    int named = -1;
    {
        const TerminatingSignalsHeld held;
        named = createExclusive(path);
        if (named < 0)
            return errno;
        m_temporaryPath = path;
        m_removalSlot = claimRemovalSlot(m_temporaryPath);
    }
    int error = copyBytes(m_handle, named, status.st_size);
    if (error == 0)
        error = settleFile(named, &status);
    ::close(m_handle);
    m_handle = named;
    return error;
}

void ReplacingFile::commit()
{
    if (m_handle < 0)
        throw FileError(EBADF);
    // The replaced file keeps its owner and permissions; a new file the mode it was made with.
    struct stat replaced {};
    const bool replaces = ::stat(m_finalPath.constData(), &replaced) == 0;
    int error = settleFile(m_handle, replaces ? &replaced : nullptr);
    // A complete file without a name gets its hidden one just before the rename.
    if (error == 0 && m_temporaryPath.isEmpty())
        error = nameUnnamedFile();
    if (::close(m_handle) != 0 && error == 0)
        error = errno;
    m_handle = -1;
    if (error == 0 && ::rename(m_temporaryPath.constData(), m_finalPath.constData()) != 0)
        error = errno;
    if (error != 0) {
        discard();
        throw FileError(error);
    }
    m_temporaryPath.clear();
    releaseRemovalSlot(m_removalSlot);
    m_removalSlot = -1;
    syncFolderOf(m_finalPath);
}

void ReplacingFile::discard() noexcept
{
    if (m_handle >= 0)
        ::close(m_handle);
    m_handle = -1;
    if (!m_temporaryPath.isEmpty())
        ::unlink(m_temporaryPath.constData());
    m_temporaryPath.clear();
    releaseRemovalSlot(m_removalSlot);
    m_removalSlot = -1;
}

void removeTemporaryFilesOnTerminatingSignals()
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction previous {};
        if (::sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = removeTemporaryFilesAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

int syncFolder(const QByteArray &folder)
{
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return errno;
    const int error = ::fsync(handle) != 0 && errno != EINVAL ? errno : 0;
    ::close(handle);
    return error;
}

} // namespace fb
