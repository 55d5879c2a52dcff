#include "main_form_fixture.h"

#include "ui/dialogs/auswertung_form.h"
#include "ui/dialogs/check_findings_dialog.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/entry_log_dialog.h"
#include "ui/dialogs/stamm_form.h"
#include "ui/dialogs/vorlagen_form.h"
#include "ui/window/about_box.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>

#include <map>

namespace fb::test {
namespace {

// The access key a text marks with "&", lower case; none for "&&" or no mark.
QChar accessKey(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return text.at(i + 1).toLower();
    }
    return {};
}

// Every access key of one window, with what carries it: the menu bar's menus, the buttons,
// and the labels that give the focus to a field. Widgets of other windows are left out.
std::multimap<QChar, QString> accessKeys(QWidget &window)
{
    std::multimap<QChar, QString> keys;
    const auto add = [&keys](const QString &text) {
        if (const QChar key = accessKey(text); !key.isNull())
            keys.emplace(key, text);
    };
    if (const auto *mainWindow = qobject_cast<QMainWindow *>(&window)) {
        for (const QAction *menu : mainWindow->menuBar()->actions())
            add(menu->text());
    }
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->window() != &window)
            continue;
        if (const auto *button = qobject_cast<QAbstractButton *>(widget))
            add(button->text());
        else if (const auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            add(label->text());
        else if (const auto *group = qobject_cast<QGroupBox *>(widget))
            add(group->title());
    }
    return keys;
}

TEST_F(MainFormTest, NoTwoControlsOfAWindowShareAnAccessKey)
{
    const auto expectKeysOfTheirOwn = [](QWidget &window) {
        const std::multimap<QChar, QString> keys = accessKeys(window);
        for (auto key = keys.begin(); key != keys.end(); key = keys.upper_bound(key->first)) {
            QStringList sharing;
            for (auto [first, last] = keys.equal_range(key->first); first != last; ++first)
                sharing.append(first->second);
            EXPECT_EQ(sharing.size(), 1) << window.objectName().toStdString() << ": "
                                         << sharing.join(QStringLiteral(", ")).toStdString();
        }
    };
    expectKeysOfTheirOwn(*form);
    QStringList tripDialogKeys;
    const QStringList seen = lookAtEveryDialog([&](QDialog &dialog) {
        expectKeysOfTheirOwn(dialog);
        if (dialog.objectName() == QStringLiteral("FahrtForm"))
            for (const auto &[key, text] : accessKeys(dialog))
                tripDialogKeys.append(text);
    });
    EXPECT_EQ(seen.size(), 9);
    for (const char *text : {"Abfahr&tzeit", "Ank&uftszeit:", "A&rt der Fahrt:"})
        EXPECT_TRUE(tripDialogKeys.contains(QString::fromUtf8(text))) << text;
}
} // namespace
} // namespace fb::test
