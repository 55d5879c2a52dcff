#include "XLSPalette.h"

#include <array>

namespace fb::xls {
namespace {

// The 56 colours of the default palette, file indices 8 to 63.
constexpr std::array<std::uint32_t, 56> kDefaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

int channel(std::uint32_t rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFF);
}

} // namespace

std::uint8_t NearestColorIndex(std::uint32_t rgb)
{
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < kDefaultPalette.size(); ++i) {
        long distance = 0;
        for (const int shift : {0, 8, 16}) {
            const long d = channel(rgb, shift) - channel(kDefaultPalette[i], shift);
            distance += d * d;
        }
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    // File index 8 + i is library index 1 + i.
    return static_cast<std::uint8_t>(best + 1);
}

} // namespace fb::xls
