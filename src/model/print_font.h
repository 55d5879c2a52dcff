#pragma once

#include <QString>

namespace fb {

// A print font with every attribute the logbook file stores.
struct PrintFont {
    enum Style : quint8 { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
    enum Pitch : quint8 { DefaultPitch = 0, VariablePitch = 1, FixedPitch = 2 };
    static constexpr quint8 kAnsiCharset = 0;
    static constexpr qint32 kWindowTextColor = qint32(0x80000008u);
    static constexpr int kStandardPixelsPerInch = 96;

    quint8 charset = kAnsiCharset;
    // 0x00BBGGRR, or 0x80000000 plus a system colour number.
    qint32 color = kWindowTextColor;
    QString face;
    quint8 pitch = DefaultPitch;
    // The resolution the size is measured at: the screen's, not the file's. A loaded font
    // keeps its own value and takes the size in points, so sizes survive other screens.
    qint32 pixelsPerInch = kStandardPixelsPerInch;
    qint32 sizePoints = 0;
    quint8 style = 0;

    bool bold() const { return style & Bold; }
    bool italic() const { return style & Italic; }
    bool underline() const { return style & Underline; }
    bool strikeOut() const { return style & StrikeOut; }

    // The same font measured at another resolution: its size in points stays.
    PrintFont atPixelsPerInch(qint32 resolution) const
    {
        PrintFont font = *this;
        font.pixelsPerInch = resolution;
        return font;
    }

    static PrintFont defaultHeadingFont(int pixelsPerInch);
    static PrintFont defaultTextFont(int pixelsPerInch);

    friend bool operator==(const PrintFont &, const PrintFont &) = default;
};

} // namespace fb
