#include "logbook_document.h"

#include "core/file_error.h"
#include "core/ole_date.h"
#include "core/replacing_file.h"
#include "core/write_target.h"
#include "entry_log_memory.h"
#include "logbook_format.h"
#include "model/odometer.h"
#include "outside_change_text.h"
#include "row_block_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <exception>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {

LogbookDocument::LogbookDocument(int fontPixelsPerInch, QObject *parent)
    : QObject(parent), m_logbook(fontPixelsPerInch)
{}

void LogbookDocument::setFileName(const QString &path)
{
    m_fileName = path;
    m_diskState.reset();
}

void LogbookDocument::SetChanged()
{
    if (m_readOnly)
        return;
    m_changed = true;
    Q_EMIT captionChanged();
}

void LogbookDocument::SetUnChanged()
{
    m_changed = false;
    Q_EMIT captionChanged();
}

void LogbookDocument::NewAll()
{
    m_logbook.trips.clear();
    m_logbook.templates.clear();
    m_logbook.entryLog.clear();
    m_outsideChangeFound.clear();
    setFileName(QString());
    SetUnChanged();
    Q_EMIT entryLogChanged();
}

qsizetype LogbookDocument::apply(const LogbookOperation &operation)
{
    return apply(TimedOperation{operation, QDateTime::currentDateTimeUtc()});
}

qsizetype LogbookDocument::apply(const TimedOperation &timed)
{
    const LogbookOperation &operation = timed.operation;
    if (m_readOnly && marksChanged(operation))
        throw OperationError(QStringLiteral("Das Fahrtenbuch ist schreibgeschützt geöffnet."));
    checkOperation(m_logbook, operation);
    for (OperationHook *hook : std::as_const(m_hooks))
        hook->beforeOperation(m_logbook, timed);
    const std::size_t eventsBefore = m_logbook.entryLog.events().size();
    const qsizetype row = applyOperation(m_logbook, timed);
    if (marksChanged(operation))
        SetChanged();
    if (m_logbook.entryLog.events().size() != eventsBefore)
        Q_EMIT entryLogChanged();
    // The change is made: a hook that fails (a journal that cannot be written) is reported
    // after the readings are right again.
    std::exception_ptr hookFailure;
    for (OperationHook *hook : std::as_const(m_hooks)) {
        try {
            hook->afterOperation(timed, row);
        } catch (...) {
            if (!hookFailure)
                hookFailure = std::current_exception();
        }
    }
    if (needsOdometerPass(operation))
        UpdateKMSTands(m_logbook);
    if (hookFailure)
        std::rethrow_exception(hookFailure);
    return row;
}

void LogbookDocument::replaceLogbook(const Logbook &source)
{
    m_logbook.assign(source);
    Q_EMIT entryLogChanged();
}

void LogbookDocument::SaveTheFile()
{
    SaveTheFileAs(m_fileName);
}

void LogbookDocument::SaveTheFileAs(const QString &path)
{
    if (path.isEmpty())
        throw FileError(ENOENT);
    if (const int refusal = writeTargetRefusal(path))
        throw FileError(refusal);

    ReplacingFile file(path);
    file.create();
    {
        // Unbuffered, so that every write reaches the system and its failure is seen by the
        // writer. Until commit() the old file is untouched; an exception discards the new one.
        QFile out;
        if (!out.open(file.handle(), QIODevice::WriteOnly | QIODevice::Unbuffered,
                      QFileDevice::DontCloseHandle))
            throw FileError(EACCES);
        writeLogbook(out, m_logbook);
    }
    // Nothing writes to the new file after this; putting it in place keeps what it is.
    const std::optional<FileFingerprint> written = fingerprintOfHandle(file.handle());
    // Some file systems report a failed write only when the data goes to the disk: commit()
    // syncs and says so.
    file.commit();
    m_fileName = path;
    m_diskState = written;
    m_logbook.entryLog.markWritten();
    if (!m_entryLogMemory.isEmpty())
        rememberChainValue(m_entryLogMemory, path, m_logbook.entryLog.chainValue());
    SetUnChanged();
}

OpenedLogbookFile::OpenedLogbookFile(const QString &path)
    : m_path(path), m_file(std::make_unique<QFile>())
{
    // A directory, a device or a pipe would be read as an empty file, without end, or not at
    // all while nobody writes to it, and some devices act on being opened: such a path is
    // refused before it is opened, and once more after, should one have been put there since.
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status {};
    if (::stat(nativePath.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        throw FileError(FileError::kNotRegularFile);
    // Opened without waiting, so that a pipe cannot hold the program here.
    const int handle = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0) {
        const int errorNumber = errno;
        throw FileError(errorNumber != 0 ? errorNumber : EACCES);
    }
    if (!m_file->open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        throw FileError(EACCES);
    }
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode))
        throw FileError(FileError::kNotRegularFile);
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    m_fingerprint = fingerprintOfHandle(handle);
}

void LogbookDocument::OpenFileWithName(const QString &path, UnreadableDistance onUnreadable)
{
    OpenedLogbookFile file(path);
    readFrom(file, onUnreadable);
}

void LogbookDocument::readFrom(OpenedLogbookFile &file, UnreadableDistance onUnreadable,
                               std::unique_ptr<DecodedLogbook> decoded)
{
    NewAll();
    m_fileName = file.path();
    EntryLogFindings findings;
    std::exception_ptr odometerFailure;
    // The odometer pass came with the decoded file.
    const bool takenOver =
        decoded && !m_keepsFileBytes && file.m_fingerprint == decoded->fingerprint;
    if (takenOver) {
        m_logbook.take(decoded->releaseLogbook());
        findings = std::move(decoded->findings);
        odometerFailure = decoded->odometerFailure;
    } else {
        findings = readWhole(file);
    }
    file.m_file->close();
    m_diskState = file.m_fingerprint;
    noteOutsideChange(findings);
    if (!takenOver) {
        try {
            UpdateKMSTands(m_logbook);
        } catch (const ConversionError &) {
            odometerFailure = std::current_exception();
        }
    }
    SetUnChanged();
    if (odometerFailure && onUnreadable == UnreadableDistance::Fail &&
        m_outsideChangeFound.isEmpty())
        std::rethrow_exception(odometerFailure);
}

EntryLogFindings LogbookDocument::readWhole(OpenedLogbookFile &file)
{
    QByteArray textsIn;
    // Kept on every way out: the rows read before a failure stay in the document.
    const auto keepTexts = qScopeGuard([&] { keepUntilExit(std::move(textsIn)); });
    try {
        return readLogbook(*file.m_file, m_logbook, BinaryReader::kWholeFileLimit,
                           m_keepsFileBytes ? &textsIn : nullptr);
    } catch (const FileError &) {
        setFileName(QString());
        Q_EMIT entryLogChanged();
        throw;
    }
}

void LogbookDocument::noteOutsideChange(const EntryLogFindings &findings)
{
    EntryLog &log = m_logbook.entryLog;
    RememberedLog remembered = RememberedLog::Continued;
    if (!m_entryLogMemory.isEmpty()) {
        const std::optional<QByteArray> last = recallChainValue(m_entryLogMemory, m_fileName);
        if (last && log.isEmpty())
            remembered = RememberedLog::Vanished;
        else if (last && !log.chainPassedThrough(*last))
            remembered = RememberedLog::NotContinued;
    }
    m_outsideChangeFound = outsideChangeText(findings, remembered, m_logbook);
    if (!m_outsideChangeFound.isEmpty()) {
        const double now = toOleDate(QDateTime::currentDateTimeUtc());
        std::vector<EntryEvent> events(1);
        events.front().kind = EntryEventKind::OutsideChange;
        events.front().when = now;
        events.front().texts = QStringList{m_outsideChangeFound};
        events.front().found = findings.foundRows;
        // The master data as found, so that the log expects it from now on and reports the
        // change once.
        for (const QStringList &field : findings.masterData) {
            EntryEvent value;
            value.kind = EntryEventKind::MasterData;
            value.when = now;
            value.texts = field;
            events.push_back(std::move(value));
        }
        log.appendFinding(std::move(events));
    }
    Q_EMIT entryLogChanged();
}

bool LogbookDocument::fileChangedOnDisk() const
{
    if (m_fileName.isEmpty())
        return false;
    const std::optional<FileFingerprint> now = fingerprintOf(m_fileName);
    return now && now != m_diskState;
}

QString LogbookDocument::caption(const QString &baseCaption) const
{
    const QString name =
        m_fileName.isEmpty() ? QStringLiteral("unbenannt.fbu") : QFileInfo(m_fileName).fileName();
    return QStringLiteral("%1 - [%2%3]")
        .arg(baseCaption, name, m_changed ? QStringLiteral("*") : QString());
}

} // namespace fb
