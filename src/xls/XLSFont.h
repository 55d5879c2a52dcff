#pragma once

#include "VDataTable.h"

#include <QString>

#include <cstdint>

namespace fb::xls {

// Colour indices of the library's own palette; the file index is the low 7 bits plus 7.
inline constexpr std::uint8_t kColorAutoText = 57;
inline constexpr std::uint8_t kColorAutoBackground = 58;

enum class UnderlineStyle : std::uint8_t {
    None = 0,
    Single = 1,
    Double = 2,
    SingleAccounting = 3,
    DoubleAccounting = 4,
};

// One entry of the font table.
struct TFontRecord {
    static constexpr int kNameLength = 100;
    static constexpr int kSize = 7 + 2 + 2 * kNameLength;

    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    UnderlineStyle underlineStyle = UnderlineStyle::None;
    std::uint8_t ssType = 0; // 0 none, 1 superscript, 2 subscript
    std::uint8_t colorIndex = kColorAutoText;
    std::uint16_t heightPoints = 10;
    QString name = QStringLiteral("Arial"); // at most kNameLength characters are kept

    QByteArray toBytes() const;
    static TFontRecord fromBytes(QByteArrayView bytes);
};

class TVirtualFontTable : public TVirtualDataTable {
public:
    // A new table holds the default font (Arial, 10 points, automatic colour) at index 0.
    TVirtualFontTable();

    int Intern(const TFontRecord &font) { return TVirtualDataTable::Intern(font.toBytes()); }
    TFontRecord Font(int index) const { return TFontRecord::fromBytes(Record(index)); }
};

} // namespace fb::xls
