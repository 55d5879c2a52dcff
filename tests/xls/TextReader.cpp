#include "TextReader.h"

#include "xls/CFile.h"

#include <QtEndian>

#include <string>

namespace fb::xls::test {
namespace {

constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kLabelSst = 0x00FD;

[[noreturn]] void fail(const std::string &what)
{
    throw MalformedStream(what);
}

std::uint16_t wordAt(const QByteArray &data, qsizetype offset)
{
    return qFromLittleEndian<std::uint16_t>(data.constData() + offset);
}

std::uint32_t dwordAt(const QByteArray &data, qsizetype offset)
{
    return qFromLittleEndian<std::uint32_t>(data.constData() + offset);
}

struct RawRecord {
    std::uint16_t id;
    QByteArray data;
};

std::vector<RawRecord> splitRecords(const QByteArray &stream)
{
    std::vector<RawRecord> records;
    qsizetype pos = 0;
    while (pos + 4 <= stream.size()) {
        const std::uint16_t id = wordAt(stream, pos);
        const std::uint16_t length = wordAt(stream, pos + 2);
        if (id == 0 && length == 0)
            break; // the zero padding after the last record
        if (length > 8224)
            fail("record at " + std::to_string(pos) + " is longer than 8224 bytes");
        if (pos + 4 + length > stream.size())
            fail("record at " + std::to_string(pos) + " runs past the stream end");
        records.push_back({id, stream.mid(pos + 4, length)});
        pos += 4 + length;
    }
    return records;
}

// The SST record's data and its CONTINUE records' data, read piece by piece.
class Pieces {
public:
    explicit Pieces(std::vector<QByteArray> pieces) : m_pieces(std::move(pieces)) {}

    qsizetype available() const { return m_pieces[m_piece].size() - m_pos; }
    bool atEnd() const { return m_piece + 1 == m_pieces.size() && available() == 0; }

    QByteArray take(qsizetype count, const char *what)
    {
        if (available() < count)
            fail(std::string(what) + " is cut by a record end");
        const QByteArray bytes = m_pieces[m_piece].mid(m_pos, count);
        m_pos += count;
        return bytes;
    }

    // The next UTF-16 unit without taking it; U+0000 when there is none in this record.
    QChar peekWord() const
    {
        return available() < 2 ? QChar() : QChar(wordAt(m_pieces[m_piece], m_pos));
    }

    // Moves on to the next CONTINUE record.
    void next()
    {
        if (m_piece + 1 >= m_pieces.size())
            fail("the shared string table ends inside a string");
        ++m_piece;
        m_pos = 0;
    }

private:
    std::vector<QByteArray> m_pieces;
    std::size_t m_piece = 0;
    qsizetype m_pos = 0;
};

QString readString(Pieces &in)
{
    if (in.available() == 0)
        in.next(); // a string may start in a new record
    const QByteArray header = in.take(3, "a string header");
    std::uint32_t remaining = wordAt(header, 0);
    const auto options = static_cast<std::uint8_t>(header[2]);
    if (options & ~0x01)
        fail("string options " + std::to_string(options) + " are not written here");
    bool wide = options & 0x01;
    QString text;
    text.reserve(remaining);
    while (remaining > 0) {
        if (in.available() == 0) {
            in.next();
            const auto flag = static_cast<std::uint8_t>(in.take(1, "a continued string's flag")[0]);
            if (flag > 1)
                fail("continued string flag " + std::to_string(flag));
            wide = flag == 1;
            if (wide && !text.isEmpty() && text.back().isHighSurrogate() &&
                in.peekWord().isLowSurrogate())
                fail("a surrogate pair is cut by a record end");
        }
        const qsizetype width = wide ? 2 : 1;
        const auto count = std::min<qsizetype>(remaining, in.available() / width);
        if (count == 0)
            fail("a UTF-16 unit is cut by a record end");
        const QByteArray bytes = in.take(count * width, "characters");
        if (wide) {
            text.append(QStringView(reinterpret_cast<const char16_t *>(bytes.constData()), count));
        } else {
            for (const char c : bytes)
                text.append(QChar(char16_t(static_cast<unsigned char>(c))));
        }
        remaining -= static_cast<std::uint32_t>(count);
    }
    return text;
}

} // namespace

WorkbookTexts readWorkbookTexts(const QByteArray &workbookStream)
{
    const std::vector<RawRecord> records = splitRecords(workbookStream);
    WorkbookTexts result;
    bool haveSst = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].id == kSst) {
            if (haveSst)
                fail("a second shared string table");
            haveSst = true;
            std::vector<QByteArray> pieces{records[i].data};
            while (i + 1 < records.size() && records[i + 1].id == kContinue)
                pieces.push_back(records[++i].data);
            if (pieces[0].size() < 8)
                fail("the SST record is too short");
            const std::uint32_t unique = dwordAt(pieces[0], 4);
            pieces[0].remove(0, 8);
            Pieces in(std::move(pieces));
            for (std::uint32_t s = 0; s < unique; ++s)
                result.sharedStrings.push_back(readString(in));
            if (!in.atEnd())
                fail("bytes left over after the last shared string");
        } else if (records[i].id == kLabelSst) {
            const QByteArray &data = records[i].data;
            if (data.size() != 10)
                fail("a LABELSST record of " + std::to_string(data.size()) + " bytes");
            const std::uint32_t index = dwordAt(data, 6);
            if (index >= result.sharedStrings.size())
                fail("a cell refers to shared string " + std::to_string(index));
            result.cells.push_back({wordAt(data, 0), wordAt(data, 2), result.sharedStrings[index]});
        }
    }
    return result;
}

WorkbookTexts readWorkbookTextsFromFile(const QString &path)
{
    TCFile container(TCFileMode::Open, path);
    TCFileStream *stream = container.Root().FindStream("Workbook");
    if (!stream)
        fail("no Workbook stream");
    return readWorkbookTexts(stream->ReadAll());
}

} // namespace fb::xls::test
