#pragma once

#include "VDataTable.h"
#include "XLSFont.h"

#include <array>
#include <cstdint>

namespace fb::xls {

enum class BorderSide : std::uint8_t { Left = 0, Right = 1, Top = 2, Bottom = 3 };

// One entry of the cell-format table.
struct TXFRecord {
    static constexpr int kSize = 23;

    std::uint16_t fontIndex = 0;
    std::uint16_t formatIndex = 0; // position in TFormatStrings
    std::uint8_t hAlign = 0;       // general
    std::uint8_t vAlign = 2;       // bottom
    std::uint8_t rotation = 0;
    bool wrap = false;
    std::uint8_t fillPattern = 0;
    std::uint8_t patternColor = kColorAutoText;
    std::uint8_t backgroundColor = kColorAutoBackground;
    bool merged = false;
    std::uint8_t indent = 0;
    std::array<std::uint8_t, 4> borderColors{kColorAutoBackground, kColorAutoBackground,
                                             kColorAutoBackground, kColorAutoBackground};
    std::array<std::uint8_t, 4> borderStyles{0, 0, 0, 0};
    bool styleRecord = false;
    bool locked = true;

    QByteArray toBytes() const;
    static TXFRecord fromBytes(QByteArrayView bytes);
};

class TVirtualXFTable : public TVirtualDataTable {
public:
    // A new table holds the default cell format at index 0.
    TVirtualXFTable();

    int Intern(const TXFRecord &xf) { return TVirtualDataTable::Intern(xf.toBytes()); }
    TXFRecord XF(int index) const { return TXFRecord::fromBytes(Record(index)); }
};

} // namespace fb::xls
