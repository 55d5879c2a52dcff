#include "window_placement.h"

#include <QScreen>
#include <QWidget>

namespace fb {

void centreOnScreen(QWidget &window)
{
    const QScreen *shownOn = window.screen();
    if (!shownOn)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(shownOn->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace fb
