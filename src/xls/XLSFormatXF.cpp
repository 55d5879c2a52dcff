#include "XLSFormatXF.h"

#include <QtEndian>

namespace fb::xls {

QByteArray TXFRecord::toBytes() const
{
    QByteArray bytes(kSize, '\0');
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    qToLittleEndian<quint16>(fontIndex, out);
    qToLittleEndian<quint16>(formatIndex, out + 2);
    out[4] = hAlign;
    out[5] = vAlign;
    out[6] = rotation;
    out[7] = wrap;
    out[8] = fillPattern;
    out[9] = patternColor;
    out[10] = backgroundColor;
    out[11] = merged;
    out[12] = indent;
    for (int i = 0; i < 4; ++i) {
        out[13 + i] = borderColors[static_cast<std::size_t>(i)];
        out[17 + i] = borderStyles[static_cast<std::size_t>(i)];
    }
    out[21] = styleRecord;
    out[22] = locked;
    return bytes;
}

TXFRecord TXFRecord::fromBytes(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    TXFRecord xf;
    xf.fontIndex = qFromLittleEndian<quint16>(in);
    xf.formatIndex = qFromLittleEndian<quint16>(in + 2);
    xf.hAlign = in[4];
    xf.vAlign = in[5];
    xf.rotation = in[6];
    xf.wrap = in[7] != 0;
    xf.fillPattern = in[8];
    xf.patternColor = in[9];
    xf.backgroundColor = in[10];
    xf.merged = in[11] != 0;
    xf.indent = in[12];
    for (int i = 0; i < 4; ++i) {
        xf.borderColors[static_cast<std::size_t>(i)] = in[13 + i];
        xf.borderStyles[static_cast<std::size_t>(i)] = in[17 + i];
    }
    xf.styleRecord = in[21] != 0;
    xf.locked = in[22] != 0;
    return xf;
}

TVirtualXFTable::TVirtualXFTable() : TVirtualDataTable(TXFRecord::kSize)
{
    Intern(TXFRecord{});
}

} // namespace fb::xls
