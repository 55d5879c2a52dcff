#pragma once

#include <QList>
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

// The widget Tab moves to from widget: the next in the focus chain that takes the focus by
// Tab, passing over the widget's own parts (a spin field's line edit) and over labels.
inline QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next && next != widget &&
           (widget->isAncestorOf(next) || !(next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
    return next;
}

// Tab leads through the widgets in the order given.
inline void expectTabOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(nextTabStop(order.at(i)), order.at(i + 1))
            << order.at(i)->objectName().toStdString();
}

// A control of a window, found by its name as tests and screen readers see it.
template<typename Widget> Widget *control(const QWidget &window, const char *name)
{
    Widget *found = window.findChild<Widget *>(QLatin1String(name));
    if (!found)
        ADD_FAILURE() << "no control " << name << " in " << window.objectName().toStdString();
    return found;
}

} // namespace fb::test
