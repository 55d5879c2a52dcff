#pragma once

#include <QLineEdit>

namespace fb {

// A one-line field shows the part of its text around the cursor. A field the program fills
// shows the text's beginning, as a person reads it, not its end where setText leaves the
// cursor; and one whose text is selected for typing over keeps showing its beginning too.

inline void fillFromStart(QLineEdit &field, const QString &text)
{
    field.setText(text);
    field.setCursorPosition(0);
}

inline void selectAllFromStart(QLineEdit &field)
{
    const int length = int(field.text().size());
    field.setSelection(length, -length);
}

} // namespace fb
