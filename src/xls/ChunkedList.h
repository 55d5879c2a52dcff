#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace fb::xls {

// A list that allocates its elements in chunks of many and never moves them, so references
// stay valid while it grows and a large list costs few allocations.
template<typename T, std::size_t ChunkSize = 4096> class ChunkedList {
public:
    ChunkedList() = default;
    ChunkedList(const ChunkedList &) = delete;
    ChunkedList &operator=(const ChunkedList &) = delete;
    ~ChunkedList()
    {
        while (m_size > 0)
            pop_back();
    }

    std::size_t size() const noexcept { return m_size; }
    bool empty() const noexcept { return m_size == 0; }

    T &operator[](std::size_t i) noexcept { return *slot(i); }
    const T &operator[](std::size_t i) const noexcept { return *slot(i); }
    T &back() noexcept { return *slot(m_size - 1); }

    template<typename... Args> T &emplace_back(Args &&...args)
    {
        if (m_size == m_chunks.size() * ChunkSize)
            m_chunks.push_back(std::make_unique_for_overwrite<Storage[]>(ChunkSize));
        T *element = ::new (static_cast<void *>(slot(m_size))) T(std::forward<Args>(args)...);
        ++m_size;
        return *element;
    }

    void pop_back() noexcept
    {
        --m_size;
        std::destroy_at(slot(m_size));
    }

    class const_iterator {
    public:
        const_iterator(const ChunkedList *list, std::size_t i) : m_list(list), m_i(i) {}
        const T &operator*() const noexcept { return (*m_list)[m_i]; }
        const T *operator->() const noexcept { return &(*m_list)[m_i]; }
        const_iterator &operator++() noexcept
        {
            ++m_i;
            return *this;
        }
        bool operator==(const const_iterator &other) const noexcept { return m_i == other.m_i; }

    private:
        const ChunkedList *m_list;
        std::size_t m_i;
    };

    const_iterator iteratorAt(std::size_t i) const { return const_iterator(this, i); }

private:
    struct Storage {
        alignas(T) unsigned char bytes[sizeof(T)];
    };

    T *slot(std::size_t i) const noexcept
    {
        return std::launder(reinterpret_cast<T *>(m_chunks[i / ChunkSize][i % ChunkSize].bytes));
    }

    std::vector<std::unique_ptr<Storage[]>> m_chunks;
    std::size_t m_size = 0;
};

} // namespace fb::xls
