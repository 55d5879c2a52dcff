#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace fb::xls {

// The number-format table. Cells refer to a position in it; the file refers to the
// format's file index. A new table holds the 36 formats every reader has built in.
class TFormatStrings {
public:
    static constexpr int kBuiltInCount = 36;
    static constexpr int kGeneral = 0;
    static constexpr int kDate = 13; // "mm/dd/yy"

    TFormatStrings();

    int Count() const noexcept { return static_cast<int>(m_entries.size()); }
    std::uint16_t FileIndex(int position) const;
    const QString &Text(int position) const;

    // Position of the format with this text, or -1.
    int IndexOf(const QString &text) const;
    // Position of the format with this text; a new format is appended with a file index
    // above every one in use. An empty text or one longer than 255 characters raises
    // error 4.
    int Add(const QString &text);

private:
    struct Entry {
        std::uint16_t fileIndex;
        QString text;
    };
    const Entry &entry(int position) const;

    std::vector<Entry> m_entries;
};

} // namespace fb::xls
