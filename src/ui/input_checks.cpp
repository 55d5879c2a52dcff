#include "input_checks.h"

#include "prompts.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace fb {

void refuseInput(Prompts &prompts, QWidget &dialog, const QString &message, QWidget &field)
{
    prompts.inputError(&dialog, message);
    field.setFocus(Qt::OtherFocusReason);
}

bool placesAndPurposeGiven(Prompts &prompts, QWidget &dialog, QLineEdit &from, QLineEdit &to,
                           QPlainTextEdit &purpose)
{
    if (from.text().isEmpty()) {
        refuseInput(prompts, dialog, QStringLiteral("Geben Sie einen Abfahrtsort ein."), from);
        return false;
    }
    if (to.text().isEmpty()) {
        refuseInput(prompts, dialog, QStringLiteral("Geben Sie einen Ankunftsort ein."), to);
        return false;
    }
    if (purpose.toPlainText().isEmpty()) {
        refuseInput(prompts, dialog,
                    QStringLiteral("Geben Sie einen Fahrtzweck ein (z.B. Besuch von Kunde xxx)."),
                    purpose);
        return false;
    }
    return true;
}

} // namespace fb
