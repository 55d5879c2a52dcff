#pragma once

#include <QByteArray>
#include <QString>

namespace fb {

// A new file that takes the place of its target only once it is complete and on the disk: it
// is written beside the target (the target a symbolic link points to, so the link stays a
// link) without a name where the file system allows it, given a hidden temporary name when it
// is complete and renamed over the target; the file and then its folder are synced, so the new
// file, not the old one, is what a crash leaves. A file given up, by a failure, a terminating
// signal or a kill while it is written, leaves nothing behind. Failures raise FileError with the
// system's error number.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString &target);
    // Removes the temporary file unless it was committed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // Creates the temporary file. A target that exists and is no regular file (a directory, a
    // device, a pipe) is refused.
    void create();
    // The temporary file's descriptor, open for reading and writing; -1 before create().
    int handle() const { return m_handle; }

    // Gives the file the target's owner and permissions (a new one the usual ones), syncs it
    // to the disk and puts it in the target's place, then syncs the folder. The file is closed
    // either way; after a failure nothing of it is left.
    void commit();

private:
    void discard() noexcept;
    // Links the file made without a name under a hidden one beside the target: 0 or the
    // error number.
    int nameUnnamedFile();
    // Where the system refuses that link (a link through /proc may be barred), copies the
    // file into one made under the hidden name, which then takes its place: 0 or the error
    // number.
    int copyIntoNamedFile();

    QString m_target;
    QByteArray m_finalPath;
    // The hidden name, six characters to be filled in.
    QByteArray m_nameTemplate;
    // The file's hidden name while it has one.
    QByteArray m_temporaryPath;
    int m_handle = -1;
    int m_removalSlot = -1;
};

// The temporary name for a file named name: hidden, with six random characters to be filled
// in, and no longer than maxLength bytes, so that it fits wherever name does.
QByteArray temporaryNameTemplate(const QByteArray &name, long maxLength);

// Makes SIGTERM, SIGINT and SIGHUP remove the temporary files of every ReplacingFile that
// lives at that moment before they end the process as they would have. Signals the process
// ignores stay ignored. Called once at start.
void removeTemporaryFilesOnTerminatingSignals();

// Syncs a folder's list of names, so that a rename in it is on the disk: 0 or the error number.
// A file system that cannot sync says EINVAL, which counts as done.
int syncFolder(const QByteArray &folder);

} // namespace fb
