#include "recovery_journal.h"

#include "per_logbook_path.h"

#include "logbook_fields.h"
#include "logbook_format.h"
#include "logbook_lock.h"
#include "model/odometer.h"
#include "operation_codec.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace fb {
namespace {

const QByteArray kMagic = QByteArrayLiteral("FBJRNL01");
constexpr qint32 kVersion = 1;
const QString kSuffix = QStringLiteral(".fbj");
const QString kUntitledPrefix = QStringLiteral("unbenannt-");
// Frame length and checksum around each frame's bytes.
constexpr qsizetype kFrameOverhead = 8;
// Far beyond any journal, the snapshot of a large untitled logbook included; a file larger than
// this is not read into memory.
constexpr qint64 kLargestJournal = qint64(256) << 20;
// Journals are opened without following a link, since one might lead to a device that never
// ends, and without waiting, since a pipe would hold the window until someone writes to it.
constexpr int kJournalOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

bool isJournalSized(const struct stat &status)
{
    return S_ISREG(status.st_mode) && status.st_size <= kLargestJournal;
}

// The journal opened for appending, or -1 with the reason in errorNumber; a pipe that has a
// reader or a device is no journal either.
int openForAppending(const QString &path, int flags, int &errorNumber)
{
    const int handle = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_APPEND | kJournalOpenFlags | flags, 0600);
    if (handle < 0) {
        errorNumber = errno != 0 ? errno : EACCES;
        return -1;
    }
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        errorNumber = FileError::kNotRegularFile;
        return -1;
    }
    return handle;
}

quint32 checksumOf(const QByteArray &bytes)
{
    return quint32(::crc32(::crc32(0, nullptr, 0),
                           reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
}

QByteArray frame(const QByteArray &payload)
{
    QByteArray bytes;
    bytes.reserve(payload.size() + kFrameOverhead);
    const quint32 length = qToLittleEndian(quint32(payload.size()));
    const quint32 checksum = qToLittleEndian(checksumOf(payload));
    bytes.append(reinterpret_cast<const char *>(&length), 4);
    bytes.append(payload);
    bytes.append(reinterpret_cast<const char *>(&checksum), 4);
    return bytes;
}

QByteArray encodeBase(const JournalBase &base)
{
    return bytesWrittenBy([&](BinaryWriter &out) {
        out.writeInt32(kVersion);
        out.writeText(base.logbookPath);
        out.writeFlag(base.file.has_value());
        if (base.file) {
            out.writeInt64(qint64(base.file->device));
            out.writeInt64(qint64(base.file->inode));
            out.writeInt64(base.file->size);
            out.writeInt64(base.file->modifiedNs);
        }
        out.writeInt64(base.snapshot.size());
        out.writeBytes(base.snapshot);
    });
}

JournalBase decodeBase(const QByteArray &bytes)
{
    return readFromBytes(bytes, [](BinaryReader &in) {
        if (const qint32 version = in.readInt32(); version != kVersion)
            throw JournalDamaged(QStringLiteral("Unknown journal version %1.").arg(version));
        JournalBase base;
        base.logbookPath = in.readText();
        if (in.readFlag()) {
            FileFingerprint file;
            file.device = quint64(in.readInt64());
            file.inode = quint64(in.readInt64());
            file.size = in.readInt64();
            file.modifiedNs = in.readInt64();
            base.file = file;
        }
        base.snapshot = in.readBytes(in.readInt64());
        if (in.remaining() != 0)
            throw JournalDamaged(QStringLiteral("Bytes after the journal's start."));
        return base;
    });
}

QString lockPathOf(const QString &journalPath)
{
    return journalPath + QStringLiteral(".lock");
}

// A lock that only a running writer holds, however long ago it was taken.
std::unique_ptr<QLockFile> newLock(const QString &journalPath)
{
    auto lock = std::make_unique<QLockFile>(lockPathOf(journalPath));
    lock->setStaleLockTime(0);
    return lock;
}

// The logbook a journal starts from.
void readSnapshot(const QByteArray &snapshot, Logbook &logbook)
{
    QBuffer buffer;
    buffer.setData(snapshot);
    buffer.open(QIODevice::ReadOnly);
    readLogbook(buffer, logbook);
}

} // namespace

QString journalPathFor(const QString &folder, const QString &logbookPath)
{
    return perLogbookPath(folder, logbookPath, kSuffix);
}

QString newUntitledJournalPath(const QString &folder)
{
    return QDir(folder).filePath(
        QStringLiteral("%1%2-%3%4")
            .arg(kUntitledPrefix,
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")))
            .arg(QCoreApplication::applicationPid())
            .arg(kSuffix));
}

QStringList untitledJournals(const QString &folder)
{
    const QDir dir(folder);
    QStringList paths;
    // Links, pipes and devices too, so that they are set aside rather than lie there for ever.
    for (const QString &name : dir.entryList({kUntitledPrefix + QLatin1Char('*') + kSuffix},
                                             QDir::Files | QDir::System, QDir::Time))
        paths.append(dir.filePath(name));
    return paths;
}

std::unique_ptr<QLockFile> claimJournal(const QString &path)
{
    auto lock = newLock(path);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

bool journalPresent(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

JournalContents readJournal(const QString &path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(nativePath.constData(), &status) == 0 && !isJournalSized(status))
        throw JournalUnreadable(QStringLiteral("No regular file of a journal's size."));
    const int handle = ::open(nativePath.constData(), O_RDONLY | kJournalOpenFlags);
    if (handle < 0) {
        const int errorNumber = errno;
        if (errorNumber == ELOOP) // a link put there since
            throw JournalUnreadable(QStringLiteral("No regular file of a journal's size."));
        throw FileError(errorNumber != 0 ? errorNumber : EACCES);
    }
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        throw FileError(EACCES);
    }
    if (::fstat(handle, &status) != 0 || !isJournalSized(status))
        throw JournalUnreadable(QStringLiteral("No regular file of a journal's size."));
    const QByteArray bytes = file.read(kLargestJournal + 1);
    if (!bytes.startsWith(kMagic))
        throw JournalDamaged(QStringLiteral("No recovery journal."));

    JournalContents contents;
    bool first = true;
    qsizetype pos = kMagic.size();
    while (pos < bytes.size()) {
        if (bytes.size() - pos < kFrameOverhead)
            throw JournalDamaged(QStringLiteral("The journal is cut short."));
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + pos);
        if (length > quint64(bytes.size() - pos - kFrameOverhead))
            throw JournalDamaged(QStringLiteral("The journal is cut short."));
        const QByteArray payload = bytes.mid(pos + 4, length);
        const quint32 checksum = qFromLittleEndian<quint32>(bytes.constData() + pos + 4 + length);
        if (checksum != checksumOf(payload))
            throw JournalDamaged(QStringLiteral("A change in the journal is damaged."));
        pos += kFrameOverhead + length;
        try {
            if (first)
                contents.base = decodeBase(payload);
            else
                contents.operations.append(decodeOperation(payload));
        } catch (const FileError &error) {
            throw JournalDamaged(error.message());
        } catch (const OperationError &error) {
            throw JournalDamaged(error.message());
        }
        first = false;
    }
    if (first)
        throw JournalDamaged(QStringLiteral("The journal has no start."));
    return contents;
}

bool journalStartsFrom(const JournalBase &base, const LogbookDocument &document)
{
    return base.file == document.diskState() && (base.file || !base.snapshot.isEmpty());
}

void replayJournal(const JournalContents &journal, LogbookDocument &document)
{
    Logbook replayed(document.logbook().headingFont.pixelsPerInch);
    try {
        if (journal.base.file) {
            replayed.assign(document.logbook());
        } else {
            readSnapshot(journal.base.snapshot, replayed);
        }
        for (const TimedOperation &operation : journal.operations)
            applyOperation(replayed, operation);
    } catch (const FileError &error) {
        throw JournalDamaged(error.message());
    } catch (const OperationError &error) {
        throw JournalDamaged(error.message());
    }
    document.replaceLogbook(replayed);
    document.SetChanged();
    UpdateKMSTands(document.logbook());
}

QString setJournalAside(const QString &path, const QString &reason,
                        std::unique_ptr<QLockFile> claim)
{
    const QString aside =
        QStringLiteral("%1.%2-%3")
            .arg(path, reason,
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QByteArray from = QFile::encodeName(path);
    // The name itself moves, a link included; an older one of the same second is kept.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(aside).constData(),
                    RENAME_NOREPLACE) != 0)
        ::unlink(from.constData()); // never offered again, whatever happens
    claim.reset();
    return aside;
}

RecoveryJournal::RecoveryJournal(QString path, JournalBase base, QObject *parent)
    : QObject(parent), m_path(std::move(path)), m_base(std::move(base))
{
    m_syncTimer.setSingleShot(true);
    connect(&m_syncTimer, &QTimer::timeout, this, &RecoveryJournal::sync);
}

RecoveryJournal::RecoveryJournal(QString path, std::unique_ptr<QLockFile> claim, QObject *parent)
    : RecoveryJournal(std::move(path), JournalBase(), parent)
{
    m_lock = std::move(claim);
    m_handle = openForAppending(m_path, 0, m_failure);
    if (m_handle < 0)
        return;
    m_goodSize = ::lseek(m_handle, 0, SEEK_END);
}

RecoveryJournal::~RecoveryJournal()
{
    closeFile();
}

void RecoveryJournal::closeFile(bool syncFirst)
{
    m_syncTimer.stop();
    if (m_handle >= 0) {
        if (syncFirst)
            ::fdatasync(m_handle);
        ::close(m_handle);
        m_handle = -1;
    }
}

void RecoveryJournal::discard()
{
    // The journal file is this one's while it holds its lock, even where it could not be
    // opened again to go on with it; what is removed need not reach the disk first.
    const bool ours = m_lock != nullptr;
    closeFile(false);
    if (ours)
        QFile::remove(m_path);
    m_lock.reset();
    m_failure = 0;
    m_reported = false;
}

void RecoveryJournal::sync()
{
    if (m_handle >= 0)
        ::fdatasync(m_handle);
}

void RecoveryJournal::create(const Logbook &before)
{
    // The system's number for a failed folder or lock file is still in errno: a full disk
    // is told as one, not as a lock held elsewhere.
    errno = 0;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        m_failure = errno != 0 ? errno : EACCES;
        return;
    }
    m_lock = newLock(m_path);
    errno = 0;
    if (!m_lock->tryLock(0)) {
        m_failure = lockFileErrorNumber(*m_lock, errno);
        m_lock.reset();
        return;
    }
    if (!m_base.file) {
        QBuffer buffer(&m_base.snapshot);
        buffer.open(QIODevice::WriteOnly);
        writeLogbook(buffer, before);
    }
    m_handle = openForAppending(m_path, O_CREAT | O_TRUNC, m_failure);
    if (m_handle < 0)
        return;
    m_goodSize = 0;
    writeWhole(kMagic + frame(encodeBase(m_base)));
}

void RecoveryJournal::writeWhole(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_handle, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_failure = written < 0 ? errno : ENOSPC;
            // What the journal holds must stay whole: a frame cut short would spoil it all.
            if (m_goodSize == 0 || ::ftruncate(m_handle, m_goodSize) != 0) {
                closeFile();
                QFile::remove(m_path);
            }
            return;
        }
        done += written;
    }
    m_goodSize += bytes.size();
    if (!m_syncTimer.isActive())
        m_syncTimer.start(kSyncDelayMs);
}

void RecoveryJournal::beforeOperation(const Logbook &before, const TimedOperation &)
{
    if (m_handle < 0 && m_failure == 0)
        create(before);
}

void RecoveryJournal::afterOperation(const TimedOperation &operation, qsizetype)
{
    if (m_failure == 0 && m_handle >= 0)
        writeWhole(frame(encodeOperation(operation)));
    if (m_failure != 0 && !m_reported) {
        m_reported = true;
        throw JournalWriteFailed(m_failure);
    }
}

} // namespace fb
