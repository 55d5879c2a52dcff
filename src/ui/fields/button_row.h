#pragma once

#include <QHBoxLayout>
#include <QPushButton>

#include <initializer_list>

namespace fb {

// The buttons at the foot of a dialog, right-aligned in the order given (OK before Abbrechen),
// as every dialog of the program places them.
inline QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace fb
