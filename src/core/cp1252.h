#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace fb::cp1252 {

// Windows-1252, the 8-bit code page the logbook's byte texts (font face names, 8-bit
// spreadsheet texts) are kept in. The five bytes the code page leaves undefined decode to
// the C1 control of the same number, so decoding and encoding round-trip every byte.

QString decode(const QByteArray &bytes);

// The byte for one UTF-16 unit, or nothing when the code page cannot hold it.
std::optional<char> encodeChar(char16_t unit);

// True when every character of text has a byte in the code page.
bool canEncode(const QString &text);

// Encodes text; a character the code page cannot hold becomes '?'.
QByteArray encodeLossy(const QString &text);

// Every bit any UTF-16 unit of text sets. Below 0x80 every unit is ASCII, its own byte in the
// code page; up to 0xFF every unit is a character below U+0100. A loop the compiler vectorises.
inline char16_t combinedUnitBits(QStringView text) noexcept
{
    char16_t bits = 0;
    for (const QChar c : text)
        bits |= c.unicode();
    return bits;
}

} // namespace fb::cp1252
