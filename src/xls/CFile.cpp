#include "CFile.h"

#include "GsfRef.h"
#include "core/cp1252.h"
#include "core/file_error.h"
#include "core/replacing_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>

#include <QFile>
#include <QtEndian>

#include <array>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace fb::xls {
namespace {

constexpr std::array<const char *, 8> kMessages = {
    "Can not create a docfile",    "Can not create a stream",  "Can not create a storage",
    "Can not open a docfile",      "Can not open a stream",    "Can not open a storage",
    "Can not set stream position", "Can not commit a storage",
};

// Element names in the container are at most 31 UTF-16 characters.
constexpr qsizetype kMaxNameLength = 31;

struct GErrorFree {
    void operator()(GError *error) const noexcept { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct FileClose {
    void operator()(std::FILE *file) const noexcept { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

} // namespace

struct TCFileHandles {
    // A new container on disk: the file that replaces the target, and the stream on it that
    // the sink writes through. Declared first, they go last.
    std::unique_ptr<ReplacingFile> target;
    FilePtr file;
    GsfRef<GsfOutput> sink;  // the file or memory block a new container is written to
    GsfRef<GsfInput> source; // the file or memory block an opened container is read from
};

struct TCFileStream::Handle {
    GsfRef<GsfOutput> out;
    GsfRef<GsfInput> in;
};

struct TCFileStorage::Handle {
    GsfRef<GsfOutfile> out;
    GsfRef<GsfInfile> in;
};

// ECFileError

QString ECFileError::messageFor(int code)
{
    if (code < 0 || code >= static_cast<int>(kMessages.size()))
        return {};
    return QString::fromLatin1(kMessages[static_cast<std::size_t>(code)]);
}

ECFileError::ECFileError(int code) : Error(messageFor(code)), m_code(code) {}

// TCFileStream

TCFileStream::TCFileStream(QByteArray name, std::unique_ptr<Handle> handle)
    : TCFileItem(std::move(name)), m_handle(std::move(handle))
{}

TCFileStream::~TCFileStream() = default;

bool TCFileStream::close()
{
    if (!m_handle->out || gsf_output_is_closed(m_handle->out.get()))
        return true;
    return gsf_output_close(m_handle->out.get());
}

qint64 TCFileStream::Read(void *buffer, qint64 count)
{
    GsfInput *in = m_handle->in.get();
    if (!in || !buffer || count <= 0)
        return 0;
    const qint64 available = gsf_input_remaining(in);
    const qint64 n = std::min(count, available);
    if (n <= 0 || !gsf_input_read(in, static_cast<size_t>(n), static_cast<guint8 *>(buffer)))
        return 0;
    return n;
}

qint64 TCFileStream::Write(const void *buffer, qint64 count)
{
    GsfOutput *out = m_handle->out.get();
    if (!out || !buffer || count <= 0)
        return 0;
    if (!gsf_output_write(out, static_cast<size_t>(count), static_cast<const guint8 *>(buffer)))
        return 0;
    return count;
}

qint64 TCFileStream::Seek(qint64 offset, TCFileSeekOrigin origin)
{
    const qint64 current = Position();
    const qint64 size = Size();
    qint64 target = offset;
    if (origin == TCFileSeekOrigin::Current)
        target += current;
    else if (origin == TCFileSeekOrigin::End)
        target += size;
    // Writing past the end would leave a hole of undefined bytes, so a new stream's
    // position, like an opened one's, stays within what has been written.
    if (target < 0 || target > size)
        return current;
    if (GsfOutput *out = m_handle->out.get()) {
        if (!gsf_output_seek(out, target, G_SEEK_SET))
            return Position();
    } else if (GsfInput *in = m_handle->in.get()) {
        // gsf_input_seek reports failure as true.
        if (gsf_input_seek(in, target, G_SEEK_SET))
            return Position();
    }
    return Position();
}

qint64 TCFileStream::Position()
{
    if (GsfOutput *out = m_handle->out.get())
        return gsf_output_tell(out);
    if (GsfInput *in = m_handle->in.get())
        return gsf_input_tell(in);
    return 0;
}

qint64 TCFileStream::Size()
{
    if (GsfOutput *out = m_handle->out.get())
        return gsf_output_size(out);
    if (GsfInput *in = m_handle->in.get())
        return gsf_input_size(in);
    return 0;
}

void TCFileStream::SetPosition(qint64 p)
{
    if (Seek(p, TCFileSeekOrigin::Begin) != p)
        throw ECFileError(ECFileError::SetPosition);
}

bool TCFileStream::WriteWord(quint16 value)
{
    uchar bytes[2];
    qToLittleEndian(value, bytes);
    return Write(bytes, 2) == 2;
}

bool TCFileStream::WriteDWord(quint32 value)
{
    uchar bytes[4];
    qToLittleEndian(value, bytes);
    return Write(bytes, 4) == 4;
}

bool TCFileStream::WriteBuffer(const void *buffer, qint64 count)
{
    return buffer && Write(buffer, count) == count;
}

bool TCFileStream::ReadBuffer(void *buffer, qint64 count)
{
    return buffer && Read(buffer, count) == count;
}

QByteArray TCFileStream::ReadAll()
{
    if (!m_handle->in)
        return {};
    SetPosition(0);
    QByteArray bytes(Size(), Qt::Uninitialized);
    if (!bytes.isEmpty() && !ReadBuffer(bytes.data(), bytes.size()))
        throw ECFileError(ECFileError::OpenStream);
    return bytes;
}

// TCFileStorage

TCFileStorage::TCFileStorage(QByteArray name, std::unique_ptr<Handle> handle)
    : TCFileItem(std::move(name)), m_handle(std::move(handle))
{}

TCFileStorage::~TCFileStorage()
{
    // Children go first: they hold on to their parent in the container.
    m_children.clear();
}

TCFileStream &TCFileStorage::CreateStream(const QByteArray &name)
{
    const QString wide = cp1252::decode(name);
    if (!m_handle->out || wide.isEmpty() || wide.size() > kMaxNameLength)
        throw ECFileError(ECFileError::CreateStream);
    GsfOutput *child = gsf_outfile_new_child(m_handle->out.get(), wide.toUtf8().constData(), FALSE);
    if (!child)
        throw ECFileError(ECFileError::CreateStream);
    auto handle = std::make_unique<TCFileStream::Handle>();
    handle->out.reset(child);
    auto stream = std::unique_ptr<TCFileStream>(new TCFileStream(name, std::move(handle)));
    TCFileStream &result = *stream;
    m_children.push_back(std::move(stream));
    return result;
}

TCFileItem &TCFileStorage::Item(int index)
{
    return *m_children.at(static_cast<std::size_t>(index));
}

TCFileStream *TCFileStorage::FindStream(const QByteArray &name)
{
    for (const auto &child : m_children) {
        if (auto *stream = dynamic_cast<TCFileStream *>(child.get());
            stream && stream->Name() == name)
            return stream;
    }
    return nullptr;
}

void TCFileStorage::load(int depth)
{
    constexpr int kMaxDepth = 64;
    if (depth > kMaxDepth)
        throw ECFileError(ECFileError::OpenStorage);
    m_children.clear();
    GsfInfile *in = m_handle->in.get();
    const int count = gsf_infile_num_children(in);
    for (int i = 0; i < count; ++i) {
        const char *utf8Name = gsf_infile_name_by_index(in, i);
        const QByteArray name = cp1252::encodeLossy(QString::fromUtf8(utf8Name ? utf8Name : ""));
        GsfRef<GsfInput> child(gsf_infile_child_by_index(in, i));
        const bool isStorage = child && GSF_IS_INFILE(child.get()) &&
                               gsf_infile_num_children(GSF_INFILE(child.get())) >= 0;
        if (isStorage) {
            auto handle = std::make_unique<Handle>();
            handle->in.reset(GSF_INFILE(child.release()));
            auto storage =
                std::unique_ptr<TCFileStorage>(new TCFileStorage(name, std::move(handle)));
            storage->load(depth + 1);
            m_children.push_back(std::move(storage));
        } else {
            if (!child)
                throw ECFileError(ECFileError::OpenStream);
            auto handle = std::make_unique<TCFileStream::Handle>();
            handle->in = std::move(child);
            m_children.push_back(
                std::unique_ptr<TCFileStream>(new TCFileStream(name, std::move(handle))));
        }
    }
}

bool TCFileStorage::closeChildren()
{
    bool ok = true;
    for (const auto &child : m_children) {
        if (auto *stream = dynamic_cast<TCFileStream *>(child.get()))
            ok = stream->close() && ok;
        else if (auto *storage = dynamic_cast<TCFileStorage *>(child.get()))
            ok = storage->closeChildren() && ok;
    }
    return ok;
}

// TCFile

TCFile::TCFile(TCFileMode mode, const QString &fileName)
    : m_fileName(fileName), m_mode(mode), m_handles(std::make_unique<TCFileHandles>())
{
    ensureGsfInitialised();
    const QByteArray nativeName = QFile::encodeName(fileName);
    GError *rawError = nullptr;
    auto rootHandle = std::make_unique<TCFileStorage::Handle>();

    if (mode == TCFileMode::Open) {
        if (fileName.isEmpty())
            throw ECFileError(ECFileError::OpenDocFile);
        m_handles->source.reset(gsf_input_stdio_new(nativeName.constData(), &rawError));
        GErrorPtr error(rawError);
        if (!m_handles->source)
            throw ECFileError(ECFileError::OpenDocFile);
        rootHandle->in.reset(gsf_infile_msole_new(m_handles->source.get(), &rawError));
        error.reset(rawError);
        if (!rootHandle->in)
            throw ECFileError(ECFileError::OpenDocFile);
        m_root.reset(new TCFileStorage("Root Entry", std::move(rootHandle)));
        m_root->load();
        m_closed = true;
        return;
    }

    if (mode == TCFileMode::Memory) {
        m_handles->sink.reset(gsf_output_memory_new());
    } else {
        if (fileName.isEmpty())
            throw ECFileError(ECFileError::CreateDocFile);
        // Written through a file of its own rather than the library's, so that it can be
        // synced to the disk before it replaces the target.
        m_handles->target = std::make_unique<ReplacingFile>(fileName);
        try {
            m_handles->target->create();
        } catch (const FileError &) {
            // The container's failures are its own fixed kinds; the system's reason is not one.
            throw ECFileError(ECFileError::CreateDocFile);
        }
        const int copy = ::fcntl(m_handles->target->handle(), F_DUPFD_CLOEXEC, 0);
        m_handles->file.reset(copy >= 0 ? ::fdopen(copy, "wb") : nullptr);
        if (!m_handles->file) {
            if (copy >= 0)
                ::close(copy);
            throw ECFileError(ECFileError::CreateDocFile);
        }
        m_handles->sink.reset(
            gsf_output_stdio_new_FILE(nativeName.constData(), m_handles->file.get(), TRUE));
    }
    if (!m_handles->sink)
        throw ECFileError(ECFileError::CreateDocFile);
    rootHandle->out.reset(gsf_outfile_msole_new(m_handles->sink.get()));
    if (!rootHandle->out) {
        abandon();
        throw ECFileError(ECFileError::CreateDocFile);
    }
    m_root.reset(new TCFileStorage("Root Entry", std::move(rootHandle)));
}

TCFile::TCFile(const QByteArray &contents)
    : m_mode(TCFileMode::Open), m_handles(std::make_unique<TCFileHandles>())
{
    ensureGsfInitialised();
    m_handles->source.reset(gsf_input_memory_new_clone(
        reinterpret_cast<const guint8 *>(contents.constData()), contents.size()));
    if (!m_handles->source)
        throw ECFileError(ECFileError::CreateDocFile);
    GError *rawError = nullptr;
    auto rootHandle = std::make_unique<TCFileStorage::Handle>();
    rootHandle->in.reset(gsf_infile_msole_new(m_handles->source.get(), &rawError));
    GErrorPtr error(rawError);
    if (!rootHandle->in)
        throw ECFileError(ECFileError::CreateDocFile);
    m_root.reset(new TCFileStorage("Root Entry", std::move(rootHandle)));
    m_root->load();
    m_closed = true;
}

TCFile::~TCFile()
{
    if (!m_closed)
        abandon();
}

void TCFile::Commit()
{
    if (m_closed)
        return;
    m_closed = true;
    GsfOutput *sink = m_handles->sink.get();
    bool ok = m_root->closeChildren();
    GsfOutput *rootOut = GSF_OUTPUT(m_root->m_handle->out.get());
    if (!gsf_output_is_closed(rootOut))
        ok = gsf_output_close(rootOut) && ok;
    if (m_mode == TCFileMode::Memory && ok) {
        m_memoryBytes = QByteArray(
            reinterpret_cast<const char *>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink))),
            gsf_output_size(sink));
    }
    // The container closes its sink itself; write errors of the file (a full disk) often
    // show only now, when the buffered data goes out and the file is synced.
    if (!gsf_output_is_closed(sink))
        ok = gsf_output_close(sink) && ok;
    ok = ok && !gsf_output_error(sink);
    if (m_handles->file)
        ok = std::fclose(m_handles->file.release()) == 0 && ok;
    // Synced, then put in the target's place; a failed container is thrown away instead.
    try {
        if (m_handles->target && ok)
            m_handles->target->commit();
    } catch (const FileError &) {
        ok = false;
    }
    m_handles->target.reset();
    if (!ok)
        throw ECFileError(ECFileError::CommitStorage);
}

bool TCFile::HasWriteError() const noexcept
{
    GsfOutput *sink = m_handles ? m_handles->sink.get() : nullptr;
    return sink && gsf_output_error(sink) != nullptr;
}

void TCFile::abandon() noexcept
{
    m_closed = true;
    GsfOutput *sink = m_handles ? m_handles->sink.get() : nullptr;
    if (!sink)
        return;
    // An error on the sink keeps it from writing out what it still holds; the temporary file
    // goes with the target's ReplacingFile.
    if (!gsf_output_is_closed(sink))
        gsf_output_set_error(sink, 0, "abandoned");
    if (m_root) {
        m_root->closeChildren();
        GsfOutput *rootOut = GSF_OUTPUT(m_root->m_handle->out.get());
        if (rootOut && !gsf_output_is_closed(rootOut))
            gsf_output_close(rootOut);
    }
    if (!gsf_output_is_closed(sink))
        gsf_output_close(sink);
    m_handles->file.reset();
    m_handles->target.reset();
}

} // namespace fb::xls
