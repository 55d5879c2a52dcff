#pragma once

class QLineEdit;
class QPlainTextEdit;
class QString;
class QWidget;

namespace fb {

class Prompts;

// Shows why a dialog cannot take its input and puts the keyboard into the field to mend; the
// dialog stays open.
void refuseInput(Prompts &prompts, QWidget &dialog, const QString &message, QWidget &field);

// The checks a trip and a template share, in their order: departure place, arrival place,
// purpose. Refuses the first that is empty; returns whether all three are given.
bool placesAndPurposeGiven(Prompts &prompts, QWidget &dialog, QLineEdit &from, QLineEdit &to,
                           QPlainTextEdit &purpose);

} // namespace fb
