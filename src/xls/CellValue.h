#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <variant>

namespace fb::xls {

// The variant type codes a cell value can carry. The numbers are the platform variant
// codes the workbook model is defined in terms of; only some of them are valid cell values.
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    SmallInt = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    OleStr = 8,
    Dispatch = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Unknown = 13,
    Decimal = 14,
    ShortInt = 16,
    Byte = 17,
    Word = 18,
    LongWord = 19,
    Int64 = 20,
    String = 256,
};

// A cell's value: a kind code plus its payload. 8-bit text (String) is kept as bytes in
// Windows-1252, wide text (OleStr) as UTF-16; dates are days since 1899-12-30 with the
// time as the fraction; currency is a fixed-point number with four decimals.
class CellValue {
public:
    CellValue() = default;

    static CellValue null() { return CellValue(VarType::Null, std::monostate{}); }
    // A value of any kind with a zero payload: 0, false, an empty text, or none for kinds a
    // cell refuses (error, dispatch, ...). Every value is thus well-formed for its kind.
    static CellValue ofKind(VarType kind);

    static CellValue fromInteger(qint32 v) { return CellValue(VarType::Integer, qint64(v)); }
    static CellValue fromSingle(float v) { return CellValue(VarType::Single, double(v)); }
    static CellValue fromDouble(double v) { return CellValue(VarType::Double, v); }
    // Currency in ten-thousandths, the fixed-point form the value is kept in.
    static CellValue fromCurrencyScaled(qint64 tenThousandths)
    {
        return CellValue(VarType::Currency, tenThousandths);
    }
    static CellValue fromDate(double daysSince18991230)
    {
        return CellValue(VarType::Date, daysSince18991230);
    }
    static CellValue fromDateTime(const QDateTime &moment);
    static CellValue fromBool(bool v) { return CellValue(VarType::Boolean, v); }
    static CellValue fromWideString(const QString &text)
    {
        return CellValue(VarType::OleStr, text);
    }
    // 8-bit text: bytes in Windows-1252.
    static CellValue fromAnsiString(const QByteArray &bytes)
    {
        return CellValue(VarType::String, bytes);
    }
    // 8-bit text when every character fits Windows-1252, wide text otherwise, so nothing
    // is lost to the code page.
    static CellValue fromText(const QString &text);

    VarType kind() const noexcept { return m_kind; }
    bool isEmpty() const noexcept { return m_kind == VarType::Empty; }
    bool isText() const noexcept { return m_kind == VarType::String || m_kind == VarType::OleStr; }
    bool isNumber() const noexcept { return isNumberKind(m_kind); }
    // Integers of every width, single, double and currency.
    static bool isNumberKind(VarType kind) noexcept;

    // Length in characters (UTF-16 units for wide text, bytes for 8-bit text).
    qsizetype textLength() const noexcept;
    // The text as UTF-16; 8-bit text is decoded from Windows-1252. Empty for other kinds.
    QString toString() const;
    // The 8-bit bytes of an 8-bit text; empty for other kinds.
    const QByteArray &ansiBytes() const;
    const QString &wideString() const;
    // Numbers, currency and dates as a double; 0 for other kinds.
    double toDouble() const noexcept;
    bool toBool() const noexcept;

    // Same kind and same payload.
    bool operator==(const CellValue &other) const = default;

private:
    friend class TCell;
    using Payload = std::variant<std::monostate, bool, qint64, double, QString, QByteArray>;

    CellValue(VarType kind, Payload payload) : m_kind(kind), m_payload(std::move(payload)) {}

    VarType m_kind = VarType::Empty;
    Payload m_payload;
};

} // namespace fb::xls
