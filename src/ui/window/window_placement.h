#pragma once

class QWidget;

namespace fb {

// Moves a window, frame included, to the middle of the screen it is shown on, wherever its
// parent stands. Call it from the window's showEvent, when the frame's size is known.
void centreOnScreen(QWidget &window);

} // namespace fb
