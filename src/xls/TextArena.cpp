#include "TextArena.h"

#include <cstring>

namespace fb::xls {

const char *TextArena::Store(const char *bytes, std::size_t count)
{
    char *dest = Allocate(count);
    if (count > 0)
        std::memcpy(dest, bytes, count);
    return dest;
}

void TextArena::ReleaseLast(const char *block, std::size_t count)
{
    if (block && !m_blocks.empty() && block + count == m_blocks.back().get() + m_used)
        m_used -= count;
}

char *TextArena::Allocate(std::size_t count)
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
    m_used += count;
    return dest;
}

} // namespace fb::xls
