#include "input_checks.h"

#include "ui/window/prompts.h"

#include <QWidget>

namespace fb {

void refuseInput(Prompts &prompts, QWidget &dialog, const QString &message, QWidget &field)
{
    prompts.inputError(&dialog, message);
    field.setFocus(Qt::OtherFocusReason);
}

} // namespace fb
