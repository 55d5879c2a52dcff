#include "XLSSharedStrings.h"

#include "BiffStream.h"
#include "CellValue.h"
#include "XLSWorkbook.h"
#include "model/cp1252.h"

#include <QtEndian>

#include <array>

namespace fb::xls {
namespace {

constexpr std::uint16_t kSST = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;

// Bytes of the code page whose character lies above U+00FF (the euro sign, typographic
// quotes, ...); a text containing one needs the UTF-16 form.
const std::array<bool, 256> &widensTable()
{
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] =
                cp1252::decode(QByteArray(1, char(b))).at(0).unicode() > 0xFF;
        return t;
    }();
    return table;
}

bool needsWide(QByteArrayView bytes)
{
    const auto &widens = widensTable();
    for (const char b : bytes) {
        if (widens[static_cast<unsigned char>(b)])
            return true;
    }
    return false;
}

void appendWord(std::vector<char> &out, std::uint16_t value)
{
    const std::size_t start = out.size();
    out.resize(start + 2);
    qToLittleEndian(value, out.data() + start);
}

void appendBytes(std::vector<char> &out, QByteArrayView bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void appendUtf16(std::vector<char> &out, QStringView text)
{
    const std::size_t start = out.size();
    out.resize(start + 2 * std::size_t(text.size()));
    char *dest = out.data() + start;
    for (const QChar c : text) {
        qToLittleEndian<std::uint16_t>(c.unicode(), dest);
        dest += 2;
    }
}

} // namespace

void TSharedStrings::AppendEntry(const TCell &cell, std::vector<char> &entry)
{
    if (cell.Kind() == VarType::String) {
        const QByteArrayView bytes = cell.AnsiText();
        appendWord(entry, static_cast<std::uint16_t>(bytes.size()));
        if (!needsWide(bytes)) {
            // Every character is below U+0100, so the code page's bytes are the characters.
            entry.push_back('\x00');
            appendBytes(entry, bytes);
        } else {
            entry.push_back('\x01');
            appendUtf16(entry, cp1252::decode(bytes.toByteArray()));
        }
    } else {
        const QStringView text = cell.WideText();
        appendWord(entry, static_cast<std::uint16_t>(text.size()));
        entry.push_back('\x01');
        appendUtf16(entry, text);
    }
}

TSharedStrings::TSharedStrings(const TWorkbook &workbook)
{
    const TSheets &sheets = workbook.Sheets();
    m_sheetIndices.resize(static_cast<std::size_t>(sheets.Count()));
    // Room for every text as a distinct entry, the export's usual case.
    int textCells = 0;
    qsizetype textBytes = 0;
    for (int s = 0; s < sheets.Count(); ++s) {
        for (const TCell &cell : sheets[s].Cells()) {
            if (cell.Kind() == VarType::String) {
                ++textCells;
                textBytes += 3 + cell.AnsiText().size();
            } else if (cell.Kind() == VarType::OleStr) {
                ++textCells;
                textBytes += 3 + 2 * cell.WideText().size();
            }
        }
    }
    // Many cells may share one long text, so the bytes reserved are capped; the storage
    // grows beyond that on demand.
    constexpr qsizetype kMaxReservedBytes = qsizetype(64) << 20;
    m_entries.Reserve(textCells, std::min(textBytes, kMaxReservedBytes));

    // Texts are interned in batches: hash a batch, prefetch the index slots, then look each
    // up, so that the fetches from a large index overlap.
    struct Pending {
        std::uint32_t *index;
        std::size_t offset;
        std::size_t size;
        std::uint32_t hash;
    };
    constexpr std::size_t kBatch = 32;
    std::vector<Pending> batch;
    batch.reserve(kBatch);
    std::vector<char> bytes;
    bytes.reserve(kBatch * 64);
    auto internBatch = [&] {
        for (Pending &p : batch) {
            p.hash =
                THashedStringList::Hash(QByteArrayView(bytes.data() + p.offset, qsizetype(p.size)));
            m_entries.Prefetch(p.hash);
        }
        for (const Pending &p : batch) {
            const QByteArrayView entry(bytes.data() + p.offset, qsizetype(p.size));
            *p.index = static_cast<std::uint32_t>(m_entries.Intern(entry, p.hash));
        }
        batch.clear();
        bytes.clear();
    };

    for (int s = 0; s < sheets.Count(); ++s) {
        std::vector<std::uint32_t> &indices = m_sheetIndices[static_cast<std::size_t>(s)];
        const TCells &cells = sheets[s].Cells();
        // Sized up front: the batch keeps pointers into it.
        indices.assign(static_cast<std::size_t>(cells.Count()), 0);
        std::size_t position = 0;
        for (const TCell &cell : cells) {
            if (cell.IsText()) {
                const std::size_t offset = bytes.size();
                AppendEntry(cell, bytes);
                batch.push_back({&indices[position], offset, bytes.size() - offset, 0});
                if (batch.size() == kBatch)
                    internBatch();
            }
            ++position;
        }
        internBatch();
    }
}

void TSharedStrings::Write(BiffStream &out) const
{
    out.WriteWord(kSST);
    qint64 lengthField = out.Counter();
    out.WriteWord(0);
    out.WriteDWord(static_cast<std::uint32_t>(Count()));
    out.WriteDWord(static_cast<std::uint32_t>(Count()));
    int held = 8; // data bytes in the current record

    for (int i = 0; i < Count(); ++i) {
        const QByteArrayView entry = Entry(i);
        const bool wide = (static_cast<unsigned char>(entry[2]) & 0x01) != 0;
        qsizetype written = 0;
        while (written < entry.size()) {
            if (BiffStream::kMaxRecordData - held < 4) {
                out.EndRecord(lengthField);
                out.WriteWord(kContinue);
                lengthField = out.Counter();
                out.WriteWord(0);
                held = 0;
                // A string continued in a new record repeats its character width.
                if (written > 0) {
                    out.WriteByte(wide ? 0x01 : 0x00);
                    held = 1;
                }
            }
            qsizetype piece =
                std::min<qsizetype>(entry.size() - written, BiffStream::kMaxRecordData - held);
            // Characters of a wide entry end at odd offsets (after the 3-byte header), so an
            // even end would cut a UTF-16 unit in two.
            if (wide && (written + piece) % 2 == 0)
                --piece;
            out.WriteBytes(entry.sliced(written, piece));
            written += piece;
            held += static_cast<int>(piece);
        }
    }
    out.EndRecord(lengthField);
}

} // namespace fb::xls
