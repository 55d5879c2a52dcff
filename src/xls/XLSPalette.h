#pragma once

#include <cstdint>

namespace fb::xls {

// The library's colour index (file palette index minus 7) of the default palette colour
// nearest to an RGB value given as 0xRRGGBB.
std::uint8_t NearestColorIndex(std::uint32_t rgb);

// The file's colour index for a library colour index: its low 7 bits plus 7.
constexpr std::uint16_t FileColorIndex(std::uint8_t colorIndex)
{
    return static_cast<std::uint16_t>((colorIndex & 0x7F) + 7);
}

} // namespace fb::xls
