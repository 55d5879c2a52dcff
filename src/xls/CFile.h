#pragma once

#include "core/error.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace fb::xls {

// A failure of the compound file container. The code selects a fixed message.
class ECFileError : public Error {
public:
    enum Code {
        CreateDocFile = 0,
        CreateStream = 1,
        CreateStorage = 2,
        OpenDocFile = 3,
        OpenStream = 4,
        OpenStorage = 5,
        SetPosition = 6,
        CommitStorage = 7,
    };

    explicit ECFileError(int code);

    int code() const noexcept { return m_code; }
    static QString messageFor(int code);

private:
    int m_code;
};

enum class TCFileMode {
    Create = 0, // a new file on disk; an existing file is replaced once Commit succeeds
    Open = 1,   // an existing file, read-only
    Memory = 2, // a new container in memory
};

enum class TCFileSeekOrigin { Begin = 0, Current = 1, End = 2 };

struct TCFileHandles;

// An element of a storage: a stream or a sub-storage.
class TCFileItem {
public:
    virtual ~TCFileItem() = default;
    TCFileItem(const TCFileItem &) = delete;
    TCFileItem &operator=(const TCFileItem &) = delete;

    // The element's name as 8-bit (Windows-1252) text.
    const QByteArray &Name() const noexcept { return m_name; }

protected:
    explicit TCFileItem(QByteArray name) : m_name(std::move(name)) {}

private:
    QByteArray m_name;
};

// A stream of a compound file, for writing (in a new file) or for reading (in an opened
// one). Positions and sizes count from 0.
class TCFileStream final : public TCFileItem {
public:
    ~TCFileStream() override;

    qint64 Read(void *buffer, qint64 count);
    qint64 Write(const void *buffer, qint64 count);
    // The new position; the position stays where it was when the target lies before the
    // start or beyond the end of the stream.
    qint64 Seek(qint64 offset, TCFileSeekOrigin origin);
    qint64 Position();
    qint64 Size();
    // Moves to p; raises error 6 when the stream does not reach it.
    void SetPosition(qint64 p);

    bool WriteWord(quint16 value);
    bool WriteDWord(quint32 value);
    bool WriteBuffer(const void *buffer, qint64 count);
    bool ReadBuffer(void *buffer, qint64 count);
    // Everything from the start, for reading streams.
    QByteArray ReadAll();

private:
    friend class TCFileStorage;
    struct Handle;
    TCFileStream(QByteArray name, std::unique_ptr<Handle> handle);
    bool close();

    std::unique_ptr<Handle> m_handle;
};

class TCFileStorage final : public TCFileItem {
public:
    ~TCFileStorage() override;

    // Creates a stream in a writable storage; a name longer than 31 characters or one the
    // container refuses raises error 1.
    TCFileStream &CreateStream(const QByteArray &name);

    int Count() const noexcept { return static_cast<int>(m_children.size()); }
    TCFileItem &Item(int index);
    // The child stream of that name, or nullptr.
    TCFileStream *FindStream(const QByteArray &name);

private:
    friend class TCFile;
    struct Handle;
    TCFileStorage(QByteArray name, std::unique_ptr<Handle> handle);
    // Loads the children; depth counts the storages above, which a damaged file could
    // nest without end.
    void load(int depth = 0);
    bool closeChildren();

    std::unique_ptr<Handle> m_handle;
    std::vector<std::unique_ptr<TCFileItem>> m_children;
};

// A compound file: a small file system of storages and streams inside one file.
//
// A new container is written through a temporary file that replaces the target only when
// Commit completes, so a failed save never leaves a broken file in place of a good one.
// Freeing a new container without Commit discards it.
class TCFile {
public:
    TCFile(TCFileMode mode, const QString &fileName);
    // Opens a container held in memory, read-only.
    explicit TCFile(const QByteArray &contents);
    ~TCFile();

    TCFile(const TCFile &) = delete;
    TCFile &operator=(const TCFile &) = delete;

    static std::unique_ptr<TCFile> CreateDocFile(const QString &fileName)
    {
        return std::make_unique<TCFile>(TCFileMode::Create, fileName);
    }

    const QString &FileName() const noexcept { return m_fileName; }
    TCFileStorage &Root() noexcept { return *m_root; }

    // Finishes a new container and closes it. Raises error 7 when the container could not
    // be completed (a full disk, say); the target is then left as it was.
    void Commit();
    // True when writing the container's file has failed (a full disk, say); later seeks and
    // writes then fail as well, for that reason.
    bool HasWriteError() const noexcept;
    // The container's bytes, for an in-memory container after Commit.
    const QByteArray &MemoryBytes() const noexcept { return m_memoryBytes; }

private:
    void abandon() noexcept;

    QString m_fileName;
    TCFileMode m_mode;
    std::unique_ptr<TCFileHandles> m_handles;
    std::unique_ptr<TCFileStorage> m_root;
    QByteArray m_memoryBytes;
    bool m_closed = false;
};

} // namespace fb::xls
