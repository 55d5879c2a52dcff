#include "run_command.h"

#include "session/file_messages.h"
#include "prompts.h"

#include "core/error.h"

namespace fb {

void runCommand(Prompts &prompts, QWidget *parent, const std::function<void()> &command)
{
    try {
        command();
    } catch (const Error &error) {
        prompts.showError(parent, commandErrorMessage(error));
    }
}

} // namespace fb
