#include "CellValue.h"

#include "core/cp1252.h"

namespace fb::xls {
namespace {

const QDateTime &dateOrigin()
{
    static const QDateTime origin(QDate(1899, 12, 30), QTime(0, 0));
    return origin;
}

// The kinds held as a whole number.
bool isWholeNumberKind(VarType kind) noexcept
{
    switch (kind) {
    case VarType::SmallInt:
    case VarType::Integer:
    case VarType::Currency:
    case VarType::ShortInt:
    case VarType::Byte:
    case VarType::Word:
    case VarType::LongWord:
    case VarType::Int64:
        return true;
    default:
        return false;
    }
}

} // namespace

CellValue CellValue::fromDateTime(const QDateTime &moment)
{
    // Local wall-clock time counts, as the user sees it; daylight saving must not shift it.
    const QDateTime local(moment.date(), moment.time());
    const qint64 ms = dateOrigin().msecsTo(local);
    return fromDate(double(ms) / 86400000.0);
}

CellValue CellValue::ofKind(VarType kind)
{
    if (isWholeNumberKind(kind))
        return CellValue(kind, qint64(0));
    switch (kind) {
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
        return CellValue(kind, 0.0);
    case VarType::Boolean:
        return CellValue(kind, false);
    case VarType::OleStr:
        return CellValue(kind, QString());
    case VarType::String:
        return CellValue(kind, QByteArray());
    default:
        return CellValue(kind, std::monostate{});
    }
}

CellValue CellValue::fromText(const QString &text)
{
    // One pass that converts and checks at once: an export fills hundreds of thousands of
    // cells this way.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            *out++ = static_cast<char>(unit);
        } else if (const std::optional<char> byte = cp1252::encodeChar(unit)) {
            *out++ = *byte;
        } else {
            return fromWideString(text);
        }
    }
    return fromAnsiString(bytes);
}

bool CellValue::isNumberKind(VarType kind) noexcept
{
    return isWholeNumberKind(kind) || kind == VarType::Single || kind == VarType::Double;
}

qsizetype CellValue::textLength() const noexcept
{
    if (const auto *wide = std::get_if<QString>(&m_payload))
        return wide->size();
    if (const auto *bytes = std::get_if<QByteArray>(&m_payload))
        return bytes->size();
    return 0;
}

QString CellValue::toString() const
{
    if (const auto *wide = std::get_if<QString>(&m_payload))
        return *wide;
    if (const auto *bytes = std::get_if<QByteArray>(&m_payload))
        return cp1252::decode(*bytes);
    return {};
}

const QByteArray &CellValue::ansiBytes() const
{
    static const QByteArray none;
    if (const auto *bytes = std::get_if<QByteArray>(&m_payload))
        return *bytes;
    return none;
}

const QString &CellValue::wideString() const
{
    static const QString none;
    if (const auto *wide = std::get_if<QString>(&m_payload))
        return *wide;
    return none;
}

double CellValue::toDouble() const noexcept
{
    if (const auto *d = std::get_if<double>(&m_payload))
        return *d;
    if (const auto *i = std::get_if<qint64>(&m_payload)) {
        if (m_kind == VarType::Currency)
            return double(*i) / 10000.0;
        return double(*i);
    }
    if (const auto *b = std::get_if<bool>(&m_payload))
        return *b ? 1.0 : 0.0;
    return 0.0;
}

bool CellValue::toBool() const noexcept
{
    if (const auto *b = std::get_if<bool>(&m_payload))
        return *b;
    return toDouble() != 0.0;
}

} // namespace fb::xls
