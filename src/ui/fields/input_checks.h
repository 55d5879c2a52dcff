#pragma once

class QString;
class QWidget;

namespace fb {

class Prompts;

// Shows why a dialog cannot take its input and puts the keyboard into the field to mend; the
// dialog stays open.
void refuseInput(Prompts &prompts, QWidget &dialog, const QString &message, QWidget &field);

} // namespace fb
