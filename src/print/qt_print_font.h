#pragma once

#include "model/print_font.h"

#include <QColor>
#include <QFont>

namespace fb {

// The font a stored print font stands for: face, points and style; a fixed pitch asks for a
// fixed-pitch face. Sizes are points, so the font keeps its size on any device.
QFont toQFont(const PrintFont &font);

// The colour text is printed in. System colours (the default "window text" among them)
// print black: paper has no system colours.
QColor textColor(const PrintFont &font);

} // namespace fb
