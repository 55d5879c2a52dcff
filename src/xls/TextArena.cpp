#include "TextArena.h"

#include <cstring>

namespace fb::xls {

const char *TextArena::Store(const char *bytes, std::size_t count)
{
    if (count == 0)
        return nullptr;
    m_used = (m_used + 1) & ~std::size_t(1);
    if (m_blocks.empty() || m_used + count > m_capacity) {
        // A text larger than a block gets a block of its own size.
        m_capacity = std::max(kBlockSize, count);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_capacity));
        m_used = 0;
    }
    char *dest = m_blocks.back().get() + m_used;
    std::memcpy(dest, bytes, count);
    m_used += count;
    return dest;
}

} // namespace fb::xls
