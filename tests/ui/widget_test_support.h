#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

// Failure messages show texts as texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace fb::test {

// Shows a window and makes it the active one, so focus moves between its widgets as they do
// for a person.
inline bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace fb::test
