#pragma once

class QString;

namespace fb {

// The width a window needs for the title bar to show its whole caption: the caption in the
// title font, in bold as title bars commonly draw it, and room for the frame's icon and
// buttons beside it. The window manager draws the bar, so this is an estimate with a margin.
int widthShowingCaption(const QString &caption);

} // namespace fb
