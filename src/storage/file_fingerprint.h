#pragma once

#include <QString>

#include <optional>

namespace fb {

// Which file a path held at one moment, as the system describes it: device, inode, size and
// the time of the last change to its contents, to the nanosecond. Any write to the file, and
// any file put in its place (a save by another program replaces it, a copy rewrites it),
// changes at least one of them; reading it changes none.
struct FileFingerprint {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    friend bool operator==(const FileFingerprint &, const FileFingerprint &) = default;
};

// The fingerprint of the file at path (symbolic links followed); nothing when there is none.
std::optional<FileFingerprint> fingerprintOf(const QString &path);

// The fingerprint of an open file.
std::optional<FileFingerprint> fingerprintOfHandle(int handle);

} // namespace fb
