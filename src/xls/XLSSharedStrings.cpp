#include "XLSSharedStrings.h"

#include "BiffStream.h"
#include "CellValue.h"
#include "HList.h"
#include "XLSWorkbook.h"
#include "core/cp1252.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>

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

bool isLatin1(QStringView units)
{
    return !units.isEmpty() && cp1252::combinedUnitBits(units) <= 0xFF;
}

// The characters of a text cell as stored: 8-bit bytes, or UTF-16 units as bytes. An 8-bit
// text the cell refers to is encoded into scratch.
QByteArrayView storedText(const TCell &cell, QByteArray &scratch)
{
    if (cell.Kind() == VarType::String)
        return cell.AnsiText(scratch);
    const QStringView text = cell.WideText();
    return QByteArrayView(reinterpret_cast<const char *>(text.utf16()), 2 * text.size());
}

// Equal texts of the two kinds stay apart: an 8-bit and a wide text are different entries.
// A referred 8-bit text, the export's usual cell, is hashed from its units as they stand.
std::uint32_t hashOf(const TCell &cell, QByteArray &scratch)
{
    if (const QStringView units = cell.ReferredUnits(); !units.isEmpty()) {
        if (const auto hash = THashedStringList::HashLatin1(units))
            return *hash;
    }
    const std::uint32_t hash = THashedStringList::Hash(storedText(cell, scratch));
    return cell.Kind() == VarType::String ? hash : hash ^ 0x9E3779B9u;
}

// Whether two cells of the same kind store the same characters. Texts both cells refer to
// are compared as they stand: the code page stores equal texts alike and unequal ones apart.
bool sameStoredText(const TCell &a, const TCell &b, QByteArray &scratchA, QByteArray &scratchB)
{
    const QStringView unitsA = a.ReferredUnits();
    const QStringView unitsB = b.ReferredUnits();
    if (!unitsA.isEmpty() && !unitsB.isEmpty())
        return unitsA == unitsB;
    return storedText(a, scratchA) == storedText(b, scratchB);
}

// True when the end of a piece at byte `end` of a wide entry falls between a high and a
// low surrogate. The units start after the entry's 3-byte header, so `end` is odd.
bool splitsSurrogatePair(QByteArrayView entry, qsizetype end)
{
    if (end < 5 || end + 2 > entry.size())
        return false;
    const auto before = qFromLittleEndian<std::uint16_t>(entry.data() + end - 2);
    const auto after = qFromLittleEndian<std::uint16_t>(entry.data() + end);
    return QChar::isHighSurrogate(before) && QChar::isLowSurrogate(after);
}

} // namespace

void TSharedStrings::AppendEntry(const TCell &cell, std::vector<char> &entry, QByteArray &scratch)
{
    if (const QStringView units = cell.ReferredUnits(); isLatin1(units)) {
        // Each unit is its own 8-bit byte and a character below U+0100: compressed form.
        appendWord(entry, static_cast<std::uint16_t>(units.size()));
        entry.push_back('\x00');
        const std::size_t start = entry.size();
        entry.resize(start + std::size_t(units.size()));
        std::transform(units.begin(), units.end(), entry.begin() + qsizetype(start),
                       [](QChar c) { return static_cast<char>(c.unicode()); });
        return;
    }
    if (cell.Kind() == VarType::String) {
        const QByteArrayView bytes = cell.AnsiText(scratch);
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
    // Room for every cell as a distinct text, the export's usual case, so the index is never
    // rebuilt. Counting the texts would cost another walk through every cell.
    std::size_t cellCount = 0;
    for (int s = 0; s < sheets.Count(); ++s)
        cellCount += static_cast<std::size_t>(sheets[s].Cells().Count());
    m_entries.reserve(cellCount);
    m_slots.resize(std::bit_ceil(std::max<std::size_t>(16, cellCount + cellCount / 3 + 1)));

    // Texts are interned in batches: hash a batch, prefetch the index slots, then look each
    // up, so that the fetches from a large index overlap.
    struct Pending {
        const TCell *cell;
        std::uint32_t *index;
        std::uint32_t hash;
    };
    constexpr std::size_t kBatch = 32;
    std::array<Pending, kBatch> batch;
    std::size_t pending = 0;
    auto internBatch = [&] {
        for (std::size_t i = 0; i < pending; ++i) {
            batch[i].hash = hashOf(*batch[i].cell, m_scratch);
            prefetch(batch[i].hash);
        }
        for (std::size_t i = 0; i < pending; ++i)
            *batch[i].index = intern(*batch[i].cell, batch[i].hash);
        pending = 0;
    };

    for (int s = 0; s < sheets.Count(); ++s) {
        std::vector<std::uint32_t> &indices = m_sheetIndices[static_cast<std::size_t>(s)];
        const TCells &cells = sheets[s].Cells();
        // Sized up front: the batch keeps pointers into it.
        indices.assign(static_cast<std::size_t>(cells.Count()), 0);
        std::size_t position = 0;
        for (const TCell &cell : cells) {
            if (cell.IsText()) {
                batch[pending++] = {&cell, &indices[position], 0};
                if (pending == kBatch)
                    internBatch();
            }
            ++position;
        }
        internBatch();
    }
}

std::uint32_t TSharedStrings::intern(const TCell &cell, std::uint32_t hash)
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        Slot &s = m_slots[slot];
        if (s.entry < 0) {
            s = {hash, static_cast<std::int32_t>(m_entries.size())};
            m_entries.push_back(&cell);
            return static_cast<std::uint32_t>(s.entry);
        }
        if (s.hash == hash) {
            const TCell &first = *m_entries[static_cast<std::size_t>(s.entry)];
            if (first.Kind() == cell.Kind() &&
                sameStoredText(first, cell, m_firstScratch, m_scratch))
                return static_cast<std::uint32_t>(s.entry);
        }
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

    std::vector<char> bytes;
    bytes.reserve(1024);
    QByteArray scratch;
    for (const TCell *cell : m_entries) {
        bytes.clear();
        AppendEntry(*cell, bytes, scratch);
        const QByteArrayView entry(bytes.data(), qsizetype(bytes.size()));
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
            // Nor may a piece end between the two halves of a surrogate pair: readers that
            // decode each record's piece on its own reject the halves. Moving the end back
            // one unit touches only texts that hold such pairs.
            if (wide && splitsSurrogatePair(entry, written + piece))
                piece -= 2;
            out.WriteBytes(entry.sliced(written, piece));
            written += piece;
            held += static_cast<int>(piece);
        }
    }
    out.EndRecord(lengthField);
}

} // namespace fb::xls
