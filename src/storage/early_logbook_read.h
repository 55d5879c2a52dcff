#pragma once

#include "entry_log_trailer.h"
#include "file_fingerprint.h"
#include "model/logbook.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <future>
#include <memory>
#include <optional>

namespace fb {

// A logbook file read whole, decoded and given its odometer pass apart from any document: no
// lock, no entry-log memory, no signal. A document takes it over (LogbookDocument::readFrom)
// only when the file it opens is still this one; in every other case it reads the file itself
// and reports what it finds as it always does.
struct DecodedLogbook {
    Logbook logbook;
    EntryLogFindings findings;
    FileFingerprint fingerprint;
    // The odometer pass found a distance that is no number; the readings from that trip on
    // stay as the file had them. Whether that is an error depends on the document's findings.
    std::exception_ptr odometerFailure;
    // The file's bytes: the trips' and templates' texts refer to their units there instead of
    // being a million copies, each an allocation and fresh memory that a start waits for.
    QByteArray fileBytes;

    // The logbook, for a document that takes it over. Its texts, and every copy made of them
    // anywhere (a dialog, the clipboard, which the window system may read as the program
    // ends), refer to the file's bytes: these are kept until the process ends. Only the start
    // file is read this way, so that is the memory of one file at most.
    Logbook &&releaseLogbook();
};

// Reads the file at path in a thread of its own from the moment it is made, so that a large
// logbook is decoded while the window that shows it is being built. Reading makes no change
// anywhere: a file that cannot be opened or read leaves nothing to take.
class EarlyLogbookRead {
public:
    explicit EarlyLogbookRead(const QString &path);
    // Waits for the thread: the file is not read on after the one who asked has gone.
    ~EarlyLogbookRead();
    EarlyLogbookRead(const EarlyLogbookRead &) = delete;
    EarlyLogbookRead &operator=(const EarlyLogbookRead &) = delete;

    const QString &path() const { return m_path; }
    // Waits for the read; nothing when the file could not be opened or read whole.
    std::unique_ptr<DecodedLogbook> take();

private:
    static std::unique_ptr<DecodedLogbook> decode(const QString &path);

    QString m_path;
    std::future<std::unique_ptr<DecodedLogbook>> m_result;
};

} // namespace fb
