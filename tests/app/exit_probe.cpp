// Loaded into the program under test with LD_PRELOAD. Its destructor runs when the process
// ends through exit() or a return from main, with the other destructors and exit handlers,
// and not when it ends through _Exit or a crash.
#include <unistd.h>

namespace {

__attribute__((destructor)) void reportNormalExit()
{
    constexpr char kText[] = "exit handlers ran\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, kText, sizeof kText - 1);
}

} // namespace
