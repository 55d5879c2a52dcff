#pragma once

#include <functional>

class QWidget;

namespace fb {

class Prompts;

// Runs a command of a window. An error the command does not handle ends the command and is
// shown by the general error display over parent; the window goes on.
void runCommand(Prompts &prompts, QWidget *parent, const std::function<void()> &command);

} // namespace fb
