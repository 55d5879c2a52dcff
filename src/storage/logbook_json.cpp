#include "logbook_json.h"

#include "core/file_error.h"
#include "core/ole_date.h"
#include "model/text_forms.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace fb {
namespace {

constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

// JSON text in a buffer that goes to the device whenever it fills.
class JsonOutput {
public:
    explicit JsonOutput(QIODevice &device) : m_device(device), m_buffer(kBufferSize) {}

    void raw(std::string_view text)
    {
        if (text.size() > room())
            flush();
        std::memcpy(m_buffer.data() + m_used, text.data(), text.size());
        m_used += text.size();
    }

    void string(QStringView text);

    void number(double value)
    {
        if (!std::isfinite(value)) {
            raw("null");
            return;
        }
        std::array<char, 32> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        raw(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
    }

    void integer(qint64 value)
    {
        std::array<char, 24> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        raw(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
    }

    void boolean(bool value) { raw(value ? "true" : "false"); }

    void flush()
    {
        if (m_used == 0)
            return;
        errno = 0;
        const qint64 written = m_device.write(m_buffer.data(), static_cast<qint64>(m_used));
        if (written != static_cast<qint64>(m_used)) {
            const int errorNumber = errno;
            // A short write without a system error is a full disk.
            throw FileError(errorNumber != 0 ? errorNumber : ENOSPC);
        }
        m_used = 0;
    }

private:
    std::size_t room() const { return m_buffer.size() - m_used; }

    QIODevice &m_device;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
};

void JsonOutput::string(QStringView text)
{
    constexpr char kHexDigits[] = "0123456789abcdef";
    // A UTF-16 unit takes at most six bytes (\u001f), a surrogate pair four.
    constexpr std::size_t kMaxBytesPerUnit = 6;
    raw("\"");
    const char16_t *unit = text.utf16();
    const char16_t *const end = unit + text.size();
    while (unit != end) {
        if (room() < 2 * kMaxBytesPerUnit)
            flush();
        // As many units as surely fit; a surrogate pair at the end takes one more.
        const std::size_t fit = room() / kMaxBytesPerUnit - 1;
        const char16_t *const stop = unit + std::min<std::size_t>(fit, end - unit);
        char *out = m_buffer.data() + m_used;
        while (unit < stop) {
            const char16_t c = *unit++;
            if (c < 0x80) {
                if (c >= 0x20 && c != u'"' && c != u'\\') {
                    *out++ = static_cast<char>(c);
                    continue;
                }
                *out++ = '\\';
                switch (c) {
                case u'"':
                    *out++ = '"';
                    break;
                case u'\\':
                    *out++ = '\\';
                    break;
                case u'\b':
                    *out++ = 'b';
                    break;
                case u'\f':
                    *out++ = 'f';
                    break;
                case u'\n':
                    *out++ = 'n';
                    break;
                case u'\r':
                    *out++ = 'r';
                    break;
                case u'\t':
                    *out++ = 't';
                    break;
                default:
                    *out++ = 'u';
                    *out++ = '0';
                    *out++ = '0';
                    *out++ = kHexDigits[c >> 4];
                    *out++ = kHexDigits[c & 0xF];
                }
            } else if (c < 0x800) {
                *out++ = static_cast<char>(0xC0 | (c >> 6));
                *out++ = static_cast<char>(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && unit != end && QChar::isLowSurrogate(*unit)) {
                const char32_t code = QChar::surrogateToUcs4(c, *unit++);
                *out++ = static_cast<char>(0xF0 | (code >> 18));
                *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                *out++ = static_cast<char>(0x80 | (code & 0x3F));
            } else if (QChar::isSurrogate(c)) {
                // Half a pair is no character; the escape keeps the unit as the file has it.
                *out++ = '\\';
                *out++ = 'u';
                for (int shift = 12; shift >= 0; shift -= 4)
                    *out++ = kHexDigits[(c >> shift) & 0xF];
            } else {
                *out++ = static_cast<char>(0xE0 | (c >> 12));
                *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *out++ = static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        m_used = static_cast<std::size_t>(out - m_buffer.data());
    }
    raw("\"");
}

// The members of one JSON object, each on a line of its own at the given depth, or all on
// one line.
class JsonObject {
public:
    enum Layout { Lines, OneLine };

    JsonObject(JsonOutput &out, int depth, Layout layout = Lines)
        : m_out(out), m_depth(depth), m_layout(layout)
    {
        m_out.raw("{");
    }

    // Writes the separator and the key; the caller writes the value.
    JsonOutput &key(std::string_view name)
    {
        if (m_layout == Lines) {
            m_out.raw(m_first ? "\n" : ",\n");
            indent(m_depth + 1);
        } else {
            m_out.raw(m_first ? "" : ", ");
        }
        m_first = false;
        m_out.raw("\"");
        m_out.raw(name);
        m_out.raw("\": ");
        return m_out;
    }

    int memberDepth() const { return m_depth + 1; }

    void end()
    {
        if (m_layout == Lines) {
            m_out.raw("\n");
            indent(m_depth);
        }
        m_out.raw("}");
    }

    void indent(int depth)
    {
        for (int i = 0; i < depth; ++i)
            m_out.raw("    ");
    }

private:
    JsonOutput &m_out;
    int m_depth;
    Layout m_layout;
    bool m_first = true;
};

void writeStrings(JsonOutput &out, const QStringList &texts)
{
    out.raw("[");
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            out.raw(", ");
        out.string(texts.at(i));
    }
    out.raw("]");
}

// A table as an array with one row per line: {"caption": ..., "subitems": [...]}.
void writeRows(JsonObject &parent, std::string_view name, const RowTable &table)
{
    JsonOutput &out = parent.key(name);
    out.raw("[");
    bool first = true;
    for (const Row &row : table.rows()) {
        out.raw(first ? "\n" : ",\n");
        first = false;
        parent.indent(parent.memberDepth() + 1);
        JsonObject object(out, 0, JsonObject::OneLine);
        object.key("caption").string(row.caption);
        writeStrings(object.key("subitems"), row.subItems);
        object.end();
    }
    if (!first) {
        out.raw("\n");
        parent.indent(parent.memberDepth());
    }
    out.raw("]");
}

// A stored date as its raw value and, where it is a date at all, its date-time text.
void writeDate(JsonObject &parent, std::string_view name, double value)
{
    JsonObject date(parent.key(name), 0, JsonObject::OneLine);
    date.key("value").number(value);
    const QDateTime dateTime = fromOleDate(value);
    if (dateTime.isValid())
        date.key("text").string(formatDateTimeText(dateTime));
    else
        date.key("text").raw("null");
    date.end();
}

void writeFont(JsonObject &parent, std::string_view name, const PrintFont &font)
{
    JsonObject object(parent.key(name), parent.memberDepth());
    object.key("face").string(font.face);
    object.key("sizePoints").integer(font.sizePoints);
    object.key("pixelsPerInch").integer(font.pixelsPerInch);
    object.key("bold").boolean(font.bold());
    object.key("italic").boolean(font.italic());
    object.key("underline").boolean(font.underline());
    object.key("strikeOut").boolean(font.strikeOut());
    object.key("color").integer(static_cast<quint32>(font.color));
    object.key("charset").integer(font.charset);
    object.key("pitch").integer(font.pitch);
    object.end();
}

void writeDigest(JsonObject &parent, std::string_view name, const LogDigest &digest)
{
    const QByteArray hex =
        QByteArray(reinterpret_cast<const char *>(digest.data()), kLogDigestSize).toHex();
    parent.key(name).string(QString::fromLatin1(hex));
}

// A stored moment and, where it is one, its text.
void writeMoment(JsonObject &moment, double value, const QDateTime &shown)
{
    moment.key("value").number(value);
    if (shown.isValid())
        moment.key("text").string(shown.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    else
        moment.key("text").raw("null");
}

const char *kindName(EntryEventKind kind)
{
    switch (kind) {
    case EntryEventKind::Entered:
        return "entered";
    case EntryEventKind::Deleted:
        return "deleted";
    case EntryEventKind::MasterData:
        return "masterData";
    case EntryEventKind::OutsideChange:
        return "outsideChange";
    case EntryEventKind::OdometerReading:
        return "odometerReading";
    }
    return "";
}

const char *stateName(EntryLogState state)
{
    switch (state) {
    case EntryLogState::None:
        return "none";
    case EntryLogState::Intact:
        return "intact";
    case EntryLogState::ChangedOutside:
        return "changedOutside";
    }
    return "";
}

// What an event holds beyond its moment, kind and row.
template<typename RowOf>
void writeEventDetails(JsonObject &object, const EntryEvent &event, const RowOf &rowOf)
{
    switch (event.kind) {
    case EntryEventKind::Entered:
        writeDigest(object, "digest", event.digest);
        if (event.replaces != kNotLogged) {
            if (const qsizetype replaced = rowOf(event.replaces); replaced >= 0)
                object.key("replacesRow").integer(replaced);
        }
        break;
    case EntryEventKind::Deleted:
        writeDigest(object, "digest", event.digest);
        break;
    case EntryEventKind::MasterData:
        object.key("field").string(event.texts.value(0));
        object.key("oldValue").string(event.texts.value(1));
        object.key("newValue").string(event.texts.value(2));
        break;
    case EntryEventKind::OutsideChange: {
        object.key("text").string(event.texts.value(0));
        JsonOutput &rows = object.key("rows");
        rows.raw("[");
        bool firstRow = true;
        for (const FoundRow &found : event.found) {
            if (const qsizetype row = rowOf(found.id); row >= 0) {
                rows.raw(firstRow ? "" : ", ");
                firstRow = false;
                rows.integer(row);
            }
        }
        rows.raw("]");
        break;
    }
    case EntryEventKind::OdometerReading: {
        JsonObject at(object.key("at"), 0, JsonObject::OneLine);
        writeMoment(at, event.readingAt, fromOleDate(event.readingAt));
        at.end();
        object.key("km").number(event.readingKm);
        object.key("note").string(event.texts.value(0));
        break;
    }
    }
}

// The entry log's events in log order, an event a line; a trip is named by its index in
// today's list.
void writeEntryLog(JsonObject &parent, const EntryLog &log)
{
    const std::vector<qsizetype> rowsById = log.rowsById();
    const auto rowOf = [&](RowId id) {
        return id != kNotLogged && id < rowsById.size() ? rowsById[id] : qsizetype(-1);
    };
    JsonOutput &out = parent.key("entryLog");
    out.raw("[");
    bool first = true;
    for (const EntryEvent &event : log.events()) {
        out.raw(first ? "\n" : ",\n");
        first = false;
        parent.indent(parent.memberDepth() + 1);
        JsonObject object(out, 0, JsonObject::OneLine);
        JsonObject when(object.key("when"), 0, JsonObject::OneLine);
        writeMoment(when, event.when, fromOleDate(event.when).toLocalTime());
        when.end();
        const std::string_view kind = kindName(event.kind);
        object.key("kind").raw("\"");
        out.raw(kind);
        out.raw("\"");
        if (const qsizetype row = rowOf(event.row); row >= 0)
            object.key("row").integer(row);
        writeEventDetails(object, event, rowOf);
        object.end();
    }
    if (!first) {
        out.raw("\n");
        parent.indent(parent.memberDepth());
    }
    out.raw("]");
}

} // namespace

void writeLogbookJson(const Logbook &logbook, QIODevice &device)
{
    JsonOutput out(device);
    JsonObject document(out, 0);
    writeRows(document, "trips", logbook.trips);
    writeRows(document, "templates", logbook.templates);

    const MasterData &m = logbook.master;
    JsonObject master(document.key("masterData"), document.memberDepth());
    master.key("company").string(m.company);
    master.key("firstName").string(m.firstName);
    master.key("lastName").string(m.lastName);
    master.key("street").string(m.street);
    master.key("postcode").string(m.postcode);
    master.key("town").string(m.town);
    master.key("country").string(m.country);
    master.key("telephone").string(m.telephone);
    master.key("registrationNumber").string(m.registrationNumber);
    master.key("registrationAuthority").string(m.registrationAuthority);
    master.key("startKm").integer(m.startKm);
    writeDate(master, "firstRegistration", m.firstRegistration);
    writeDate(master, "registration", m.registration);
    master.end();

    const PrintSettings &p = logbook.print;
    JsonObject print(document.key("printSettings"), document.memberDepth());
    print.key("printAllTrips").boolean(p.printAllTrips());
    print.key("printDateRange").boolean(p.printDateRange);
    writeDate(print, "rangeFrom", p.rangeFrom);
    writeDate(print, "rangeTo", p.rangeTo);
    print.key("printMasterData").boolean(p.printMasterData);
    print.key("printPrivateTrips").boolean(p.printPrivateTrips);
    print.key("printBusinessTrips").boolean(p.printBusinessTrips);
    print.key("heading").string(p.heading);
    print.key("printEvaluation").boolean(p.printEvaluation);
    print.key("printFinalOdometer").boolean(p.printFinalOdometer);
    print.end();

    writeFont(document, "headingFont", logbook.headingFont);
    writeFont(document, "textFont", logbook.textFont);
    writeEntryLog(document, logbook.entryLog);
    document.key("entryLogState").raw("\"");
    out.raw(stateName(logbook.entryLog.state()));
    out.raw("\"");
    document.end();
    out.raw("\n");
    out.flush();
}

} // namespace fb
