#include "row_block_reader.h"

#include <QCryptographicHash>
#include <QSysInfo>
#include <QtEndian>

#include <algorithm>

#include <cstring>
#include <future>
#include <mutex>
#include <system_error>
#include <vector>

namespace fb {
namespace {

// Below this many rows a second thread costs more than it saves.
constexpr qint32 kMinRowsForTwoThreads = 8192;

qint32 int32At(const char *bytes)
{
    return qFromLittleEndian<qint32>(bytes);
}

// Where the rows lie: the offset of the row that starts the second half, and the end.
struct BlockLayout {
    qint32 splitRow = 0;
    qsizetype splitOffset = 0;
    qsizetype end = 0;
};

// Walks the rows without decoding a text, checking that every count and length fits.
std::optional<BlockLayout> scanRows(QByteArrayView bytes, qint32 rowCount, qint32 splitRow)
{
    const char *const data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    const auto skipText = [&] {
        if (size - pos < 4)
            return false;
        const qint32 length = int32At(data + pos);
        pos += 4;
        if (length < 0 || (size - pos) / 2 < length)
            return false;
        pos += 2 * qsizetype(length);
        return true;
    };

    BlockLayout layout{.splitRow = splitRow};
    for (qint32 row = 0; row < rowCount; ++row) {
        if (row == splitRow)
            layout.splitOffset = pos;
        if (size - pos < 4)
            return std::nullopt;
        const qint32 subItemCount = int32At(data + pos);
        pos += 4;
        if (!skipText())
            return std::nullopt;
        for (qint32 i = 0; i < subItemCount; ++i) {
            if (!skipText())
                return std::nullopt;
        }
    }
    layout.end = pos;
    return layout;
}

// Decoding trusts the layout that scanRows checked.
QString decodeText(const char *&in, bool referToBytes)
{
    const qint32 length = int32At(in);
    in += 4;
    if (length == 0)
        return {};
    // The file's units are the string's own where the byte order is the same: a text that
    // only refers to them costs neither an allocation nor a page of fresh memory. Such a text
    // is read through constData() or a QStringView: QString::utf16() would copy it in place,
    // a write while another thread may be reading the same row.
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian && referToBytes &&
        reinterpret_cast<quintptr>(in) % alignof(QChar) == 0) {
        const auto *units = reinterpret_cast<const QChar *>(in);
        in += 2 * qsizetype(length);
        return QString::fromRawData(units, length);
    }
    QString text(length, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(in, length, text.data());
    in += 2 * qsizetype(length);
    return text;
}

// Digests the bytes of a row's caption and first sub-items as the file holds them, which is
// how tripDigest encodes them; sub-items the row lacks count as empty texts.
class RowDigester {
public:
    void digest(const char *begin, const char *end, qint32 subItemCount, LogDigest &digest)
    {
        static constexpr char kEmptyTexts[4 * kDigestedSubItems] = {};
        m_hash.reset();
        m_hash.addData(QByteArrayView(begin, end - begin));
        const qint32 missing = kDigestedSubItems - std::clamp(subItemCount, 0, kDigestedSubItems);
        if (missing > 0)
            m_hash.addData(QByteArrayView(kEmptyTexts, 4 * missing));
        std::memcpy(digest.data(), m_hash.resultView().data(), kLogDigestSize);
    }

private:
    QCryptographicHash m_hash{QCryptographicHash::Blake2b_256};
};

void decodeRow(const char *&in, Row &row, RowDigester *digester, LogDigest *digest,
               bool referToBytes)
{
    const qint32 subItemCount = int32At(in);
    in += 4;
    const char *const digestBegin = in;
    row.caption = decodeText(in, referToBytes);
    const char *digestEnd = in;
    if (subItemCount > 0) {
        row.subItems.reserve(subItemCount);
        for (qint32 i = 0; i < subItemCount; ++i) {
            row.subItems.append(decodeText(in, referToBytes));
            if (i < kDigestedSubItems)
                digestEnd = in;
        }
    }
    if (digester)
        digester->digest(digestBegin, digestEnd, subItemCount, *digest);
}

std::future<std::vector<Row>> decodeInBackground(const char *in, qint32 count, LogDigest *digests,
                                                 bool referToBytes)
{
    return std::async(std::launch::async, [in, count, digests, referToBytes] {
        std::vector<Row> rows(static_cast<std::size_t>(count));
        std::optional<RowDigester> digester;
        if (digests)
            digester.emplace();
        const char *cursor = in;
        for (std::size_t i = 0; i < rows.size(); ++i)
            decodeRow(cursor, rows[i], digester ? &*digester : nullptr,
                      digests ? digests + i : nullptr, referToBytes);
        return rows;
    });
}

} // namespace

void keepUntilExit(QByteArray bytes)
{
    if (bytes.isEmpty())
        return;
    // Never destroyed, so that the bytes outlive every static and the application itself.
    static auto *const kept = new std::vector<QByteArray>;
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    kept->push_back(std::move(bytes));
}

std::optional<qsizetype> readRowBlock(QByteArrayView bytes, qint32 rowCount, RowTable &table,
                                      std::vector<LogDigest> *digests, bool referToBytes)
{
    const qint32 splitRow = rowCount >= kMinRowsForTwoThreads ? rowCount / 2 : rowCount;
    const std::optional<BlockLayout> layout = scanRows(bytes, rowCount, splitRow);
    if (!layout)
        return std::nullopt;

    if (digests)
        digests->assign(std::size_t(rowCount), LogDigest{});
    std::future<std::vector<Row>> secondHalf;
    qint32 rowsHere = rowCount;
    if (splitRow < rowCount) {
        try {
            secondHalf =
                decodeInBackground(bytes.data() + layout->splitOffset, rowCount - splitRow,
                                   digests ? digests->data() + splitRow : nullptr, referToBytes);
            rowsHere = splitRow;
        } catch (const std::system_error &) {
            // No thread to be had: decode every row here.
        }
    }
    // Should this thread fail, the future waits for the other one before the rows go.
    std::optional<RowDigester> digester;
    if (digests)
        digester.emplace();
    const char *cursor = bytes.data();
    for (qint32 row = 0; row < rowsHere; ++row)
        decodeRow(cursor, table.appendForUpdate(), digester ? &*digester : nullptr,
                  digests ? digests->data() + row : nullptr, referToBytes);
    if (secondHalf.valid()) {
        for (Row &row : secondHalf.get())
            table.appendForUpdate() = std::move(row);
    }
    return layout->end;
}

} // namespace fb
