#include "XLSCells.h"

#include "XLSError.h"
#include "XLSFormatStr.h"
#include "XLSSheet.h"
#include "core/cp1252.h"

#include <algorithm>

namespace fb::xls {
namespace {

constexpr qsizetype kMaxTextLength = 65535;

// The code page's byte for a character; the common ASCII ones without the table.
std::optional<char> encodeAnsi(char16_t unit)
{
    if (unit < 0x80)
        return static_cast<char>(unit);
    return cp1252::encodeChar(unit);
}

bool isAcceptedKind(VarType kind)
{
    return CellValue::isNumberKind(kind) || kind == VarType::Date || kind == VarType::OleStr ||
           kind == VarType::Boolean || kind == VarType::String;
}

} // namespace

TWorkbook *TCell::workbook() const noexcept
{
    return m_owner->Workbook();
}

QByteArrayView TCell::AnsiText(QByteArray &scratch) const
{
    if (m_kind != VarType::String || m_textLength == 0)
        return {};
    if (!m_referred)
        return QByteArrayView(m_payload.text, m_textLength);
    scratch.resize(m_textLength);
    char *out = scratch.data();
    const auto *units = reinterpret_cast<const char16_t *>(m_payload.text);
    // Mostly every unit is below U+0100 and is its own byte.
    if (cp1252::combinedUnitBits(ReferredUnits()) <= 0xFF) {
        for (std::uint32_t i = 0; i < m_textLength; ++i)
            out[i] = static_cast<char>(units[i]);
    } else {
        for (std::uint32_t i = 0; i < m_textLength; ++i)
            out[i] = encodeAnsi(units[i]).value_or('?');
    }
    return scratch;
}

QStringView TCell::WideText() const noexcept
{
    if (m_kind != VarType::OleStr || m_textLength == 0)
        return {};
    return QStringView(reinterpret_cast<const char16_t *>(m_payload.text), m_textLength);
}

double TCell::Number() const noexcept
{
    switch (m_kind) {
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
        return m_payload.number;
    case VarType::Currency:
        return double(m_payload.integer) / 10000.0;
    case VarType::Boolean:
        return m_payload.boolean ? 1.0 : 0.0;
    default:
        return IsText() || m_kind == VarType::Empty ? 0.0 : double(m_payload.integer);
    }
}

CellValue TCell::Value() const
{
    switch (m_kind) {
    case VarType::String: {
        QByteArray scratch;
        return CellValue::fromAnsiString(AnsiText(scratch).toByteArray());
    }
    case VarType::OleStr:
        return CellValue::fromWideString(WideText().toString());
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
        return CellValue(m_kind, m_payload.number);
    case VarType::Boolean:
        return CellValue::fromBool(m_payload.boolean);
    case VarType::Empty:
        return CellValue();
    default:
        return CellValue(m_kind, m_payload.integer);
    }
}

bool TCell::holds(const CellValue &value) const
{
    // A text the cell refers to is replaced by the value's own copy.
    if (value.kind() != m_kind || m_referred)
        return false;
    switch (m_kind) {
    case VarType::String:
        return QByteArrayView(m_payload.text, m_textLength) == QByteArrayView(value.ansiBytes());
    case VarType::OleStr:
        return WideText() == QStringView(value.wideString());
    default:
        return Value() == value;
    }
}

void TCell::storeText(VarType kind, const char *bytes, std::uint32_t length)
{
    m_kind = kind;
    m_payload.text = bytes;
    m_textLength = length;
    m_referred = false;
}

void TCell::SetText(QStringView text)
{
    if (text.size() > kMaxTextLength)
        throw EXLSError(EXLSError::InvalidCellValue);
    TextArena &arena = m_owner->Texts();
    const auto length = static_cast<std::uint32_t>(text.size());
    char *bytes = arena.Allocate(length);
    char *out = bytes;
    bool ansi = true;
    for (const QChar c : text) {
        if (const std::optional<char> byte = encodeAnsi(c.unicode())) {
            *out++ = *byte;
        } else {
            ansi = false;
            break;
        }
    }
    if (ansi) {
        if (m_kind == VarType::String && !m_referred &&
            QByteArrayView(m_payload.text, m_textLength) == QByteArrayView(bytes, length))
            arena.ReleaseLast(bytes, length);
        else
            storeText(VarType::String, bytes, length);
    } else {
        arena.ReleaseLast(bytes, length);
        if (!(m_kind == VarType::OleStr && !m_referred && WideText() == text)) {
            storeText(
                VarType::OleStr,
                arena.Store(reinterpret_cast<const char *>(text.utf16()), std::size_t(length) * 2),
                length);
        }
    }
    m_owner->Changed(*this);
}

void TCell::ReferText(QStringView text)
{
    if (text.size() > kMaxTextLength)
        throw EXLSError(EXLSError::InvalidCellValue);
    // Texts are mostly plain ASCII, which needs no look into the code page's table.
    const bool ansi = cp1252::combinedUnitBits(text) < 0x80 ||
                      std::all_of(text.begin(), text.end(),
                                  [](QChar c) { return encodeAnsi(c.unicode()).has_value(); });
    storeText(ansi ? VarType::String : VarType::OleStr,
              reinterpret_cast<const char *>(text.utf16()),
              static_cast<std::uint32_t>(text.size()));
    m_referred = ansi;
    m_owner->Changed(*this);
}

void TCell::SetValue(const CellValue &value)
{
    if (!isAcceptedKind(value.kind()))
        throw EXLSError(EXLSError::InvalidCellValue);
    if (value.isText() && value.textLength() > kMaxTextLength)
        throw EXLSError(EXLSError::InvalidCellValue);

    if (value.kind() == VarType::Date && m_kind != VarType::Date) {
        const TXFRecord xf = XF();
        if (xf.formatIndex == TFormatStrings::kGeneral) {
            TXFRecord dated = xf;
            dated.formatIndex = TFormatStrings::kDate;
            changeXF(dated);
        }
    }
    if (!holds(value)) {
        const VarType kind = value.kind();
        if (kind == VarType::String) {
            const QByteArray &bytes = value.ansiBytes();
            const auto length = static_cast<std::uint32_t>(bytes.size());
            storeText(kind, m_owner->Texts().Store(bytes.constData(), length), length);
        } else if (kind == VarType::OleStr) {
            const QString &text = value.wideString();
            const auto length = static_cast<std::uint32_t>(text.size());
            storeText(kind,
                      m_owner->Texts().Store(reinterpret_cast<const char *>(text.utf16()),
                                             std::size_t(length) * 2),
                      length);
        } else if (kind == VarType::Boolean) {
            m_payload.boolean = value.toBool();
        } else if (kind == VarType::Single || kind == VarType::Double || kind == VarType::Date) {
            m_payload.number = value.toDouble();
        } else {
            m_payload.integer = std::get<qint64>(value.m_payload);
        }
        m_kind = kind;
        m_referred = false;
    }
    m_owner->Changed(*this);
}

TCells::TCells(TSheet *sheet) : m_sheet(sheet) {}

TWorkbook *TCells::Workbook() const noexcept
{
    return m_sheet->Workbook();
}

TCell &TCells::Item(int index)
{
    if (index < 0 || index >= m_count)
        throw ERangeError::listIndex(index);
    return m_cells[static_cast<std::size_t>(index)];
}

const TCell &TCells::Item(int index) const
{
    if (index < 0 || index >= m_count)
        throw ERangeError::listIndex(index);
    return m_cells[static_cast<std::size_t>(index)];
}

const TCell *TCells::Find(std::uint16_t row, std::uint16_t col) const
{
    const int found = findListed(row, col);
    return found < 0 ? nullptr : &m_cells[static_cast<std::size_t>(found)];
}

TCell &TCells::Cell(std::uint16_t row, std::uint16_t col)
{
    if (col > 255)
        throw EXLSError(EXLSError::InvalidRowOrColumn);
    if (const int found = findListed(row, col); found >= 0)
        return m_cells[static_cast<std::size_t>(found)];

    if (m_cells.size() > static_cast<std::size_t>(m_count)) {
        TCell &pending = m_cells.back();
        if (pending.Row() == row && pending.Col() == col)
            return pending;
        m_cells.pop_back();
    }
    // Sheets are mostly filled row by row: fetch the next row's part of the index meanwhile.
    if (m_indexBuilt && row < 0xFFFF)
        m_index.PrefetchRow(row + 1);
    return m_cells.emplace_back(this, row, col, m_sheet->DefaultXF(row, col));
}

int TCells::findListed(std::uint16_t row, std::uint16_t col) const
{
    if (!m_inOrder) {
        buildIndex();
        return m_index.Find(key(row, col));
    }
    const std::uint32_t wanted = orderKey(row, col);
    if (m_count == 0 || wanted > m_lastOrderKey)
        return -1;
    int low = 0;
    int high = m_count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const TCell &cell = m_cells[static_cast<std::size_t>(middle)];
        if (orderKey(cell.Row(), cell.Col()) < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    const TCell &cell = m_cells[static_cast<std::size_t>(low)];
    return orderKey(cell.Row(), cell.Col()) == wanted ? low : -1;
}

void TCells::buildIndex() const
{
    if (m_indexBuilt)
        return;
    m_indexBuilt = true;
    m_index.Reserve(static_cast<std::size_t>(m_count));
    for (int i = 0; i < m_count; ++i) {
        const TCell &cell = m_cells[static_cast<std::size_t>(i)];
        m_index.Insert(key(cell.Row(), cell.Col()), i);
    }
}

void TCells::Changed(TCell &cell)
{
    // Only the pending cell, the last element, is not listed yet.
    if (m_cells.size() <= static_cast<std::size_t>(m_count) || &m_cells.back() != &cell)
        return;
    const std::uint32_t listedKey = orderKey(cell.Row(), cell.Col());
    if (m_inOrder && m_count > 0 && listedKey < m_lastOrderKey)
        m_inOrder = false;
    if (m_inOrder) {
        m_lastOrderKey = listedKey;
    } else {
        buildIndex();
        m_index.Insert(key(cell.Row(), cell.Col()), m_count);
    }
    ++m_count;
}

} // namespace fb::xls
