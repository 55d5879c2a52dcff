#pragma once

class QPushButton;

namespace fb {

// What a push button does, for the icon it shows.
enum class ButtonIcon {
    Ok,     // confirms a dialog
    Cancel, // closes a dialog without taking its fields
    New,    // adds something new: "Neue Fahrt...", "Neu..."
    Change, // edits the selected entry: "Fahrt ändern...", "Ändern..."
    Delete, // deletes (or marks deleted) the selected entry
    Copy,   // starts a new entry from the selected one
    Quit,   // ends the program or closes a window: "Beenden", "Schließen"
    Open,   // opens a file or a web address
    Print,  // prints
    Font,   // chooses a font
    Back,   // goes back to the window that opened this one
};

// Gives a push button the look of every button of the program: the icon the desktop's theme
// has for its kind, or the platform style's standard icon where the theme has none. The text
// stays, so the button still reads without the icon.
//
// Call it once per button after creating it, next to setObjectName:
//
//     OkBtn = new QPushButton(QStringLiteral("OK"), this);
//     setButtonLook(*OkBtn, ButtonIcon::Ok);
//     setButtonLook(*CancelBtn, ButtonIcon::Cancel);
//
// A button of another kind keeps its text alone; a look set twice is replaced.
void setButtonLook(QPushButton &button, ButtonIcon icon);

} // namespace fb
