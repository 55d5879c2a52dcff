#pragma once

namespace fb {

// Starts the window program: the application, its German platform texts, the main window
// with the file named by the first argument, and the event loop until the window closes.
int runMainWindow(int argc, char **argv);

} // namespace fb
