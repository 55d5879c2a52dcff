#include "XLSFont.h"

#include <QtEndian>

namespace fb::xls {

QByteArray TFontRecord::toBytes() const
{
    QByteArray bytes(kSize, '\0');
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    out[0] = bold;
    out[1] = italic;
    out[2] = underline;
    out[3] = strikeOut;
    out[4] = static_cast<uchar>(underlineStyle);
    out[5] = ssType;
    out[6] = colorIndex;
    qToLittleEndian<quint16>(heightPoints, out + 7);
    const qsizetype length = std::min<qsizetype>(name.size(), kNameLength);
    for (qsizetype i = 0; i < length; ++i)
        qToLittleEndian<quint16>(name.at(i).unicode(), out + 9 + 2 * i);
    return bytes;
}

TFontRecord TFontRecord::fromBytes(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    TFontRecord font;
    font.bold = in[0] != 0;
    font.italic = in[1] != 0;
    font.underline = in[2] != 0;
    font.strikeOut = in[3] != 0;
    font.underlineStyle = static_cast<UnderlineStyle>(in[4]);
    font.ssType = in[5];
    font.colorIndex = in[6];
    font.heightPoints = qFromLittleEndian<quint16>(in + 7);
    font.name.clear();
    for (int i = 0; i < kNameLength; ++i) {
        const char16_t unit = qFromLittleEndian<quint16>(in + 9 + 2 * i);
        if (unit == 0)
            break;
        font.name.append(QChar(unit));
    }
    return font;
}

TVirtualFontTable::TVirtualFontTable() : TVirtualDataTable(TFontRecord::kSize)
{
    Intern(TFontRecord{});
}

} // namespace fb::xls
