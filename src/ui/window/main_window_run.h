#pragma once

#include <memory>

namespace fb {

class EarlyLogbookRead;

// Starts the window program: the application, its German platform texts, the main window
// with the file named by the first argument and its recovery journals in the user's
// application data folder, and the event loop until the window closes. The application's
// organisation and name are set before. startFileRead, where given, is the first argument's
// file being read since the program started.
int runMainWindow(int argc, char **argv, std::unique_ptr<EarlyLogbookRead> startFileRead);

} // namespace fb
