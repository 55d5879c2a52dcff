#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace fb {

// How wide a text is in the font selected at the moment, in device pixels.
using TextMeasure = std::function<int(const QString &)>;

// One line of text broken into lines no wider than width: at blanks where possible, inside a
// word only where the word alone is wider, and then never inside a character. A text that
// fits comes back as it is; the blanks at a break are dropped. Each line holds at least one
// character, however narrow the width.
QStringList wrapLine(const QString &line, int width, const TextMeasure &textWidth);

} // namespace fb
