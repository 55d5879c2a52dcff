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

bool needsWide(const QByteArray &bytes)
{
    const auto &widens = widensTable();
    for (const char b : bytes) {
        if (widens[static_cast<unsigned char>(b)])
            return true;
    }
    return false;
}

void appendWord(QByteArray &out, std::uint16_t value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendUtf16(QByteArray &out, const QString &text)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    auto *dest = reinterpret_cast<uchar *>(out.data() + start);
    for (const QChar c : text) {
        qToLittleEndian<std::uint16_t>(c.unicode(), dest);
        dest += 2;
    }
}

} // namespace

void TSharedStrings::EntryBytes(const CellValue &value, QByteArray &entry)
{
    entry.resize(0);
    appendWord(entry, static_cast<std::uint16_t>(value.textLength()));
    if (value.kind() == VarType::String && !needsWide(value.ansiBytes())) {
        // Every character is below U+0100, so the code page's bytes are the characters.
        entry.append('\x00');
        entry.append(value.ansiBytes());
    } else {
        entry.append('\x01');
        appendUtf16(entry, value.kind() == VarType::String ? value.toString() : value.wideString());
    }
}

TSharedStrings::TSharedStrings(const TWorkbook &workbook)
{
    const TSheets &sheets = workbook.Sheets();
    m_sheetIndices.resize(static_cast<std::size_t>(sheets.Count()));
    QByteArray entry;
    entry.reserve(256);
    for (int s = 0; s < sheets.Count(); ++s) {
        std::vector<std::uint32_t> &indices = m_sheetIndices[static_cast<std::size_t>(s)];
        const TCells &cells = sheets[s].Cells();
        indices.reserve(static_cast<std::size_t>(cells.Count()));
        for (const TCell &cell : cells) {
            if (!cell.Value().isText()) {
                indices.push_back(0);
                continue;
            }
            EntryBytes(cell.Value(), entry);
            indices.push_back(static_cast<std::uint32_t>(m_entries.Intern(entry)));
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
