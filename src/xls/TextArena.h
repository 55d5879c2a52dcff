#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace fb::xls {

// Storage for the texts of a sheet's cells: large blocks filled one after the other, so a
// sheet of hundreds of thousands of texts costs a few allocations instead of one each, and
// freeing it is as quick. Stored bytes never move. A replaced text's bytes stay until the
// arena goes.
class TextArena {
public:
    // A stable copy of count bytes, aligned for UTF-16 units.
    const char *Store(const char *bytes, std::size_t count);
    // Room for count bytes to be filled by the caller, aligned for UTF-16 units.
    char *Allocate(std::size_t count);
    // Gives back the most recent allocation, which must be `block` of `count` bytes.
    void ReleaseLast(const char *block, std::size_t count);

private:
    static constexpr std::size_t kBlockSize = std::size_t(1) << 20;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_used = kBlockSize; // in the last block
    std::size_t m_capacity = kBlockSize;
};

} // namespace fb::xls
