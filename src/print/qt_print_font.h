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

namespace fb {

// The stored font after a font dialog was confirmed. A new face is taken with the size and
// style chosen for it, and the pitch of the face. For the same face only what the user
// changed between the font the dialog showed and the one chosen is taken over: a face that
// is not installed here (the dialog shows another), a style it lacks and sizes the dialog
// rounds survive a dialog confirmed unchanged. The dialog has no colour and no character
// set: both always stay as stored.
PrintFont withFontDialogChanges(const PrintFont &stored, const QFont &shown, const QFont &chosen);

} // namespace fb
