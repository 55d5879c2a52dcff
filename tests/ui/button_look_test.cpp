#include "main_form_fixture.h"

#include "ui/dialogs/auswertung_form.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/dialogs/stamm_form.h"
#include "ui/dialogs/vorlage_neu_form.h"
#include "ui/dialogs/vorlagen_form.h"
#include "ui/fields/button_look.h"
#include "ui/window/about_box.h"

#include <QPushButton>
#include <QStyle>

namespace fb::test {
namespace {

// Every push button of the window carries an icon beside its text. Buttons of other windows
// owned by it (its dialogs, Qt's font dialogs) are checked with their own window.
void expectEveryButtonHasItsLook(const QWidget &window)
{
    QList<const QPushButton *> buttons;
    for (const QPushButton *button : window.findChildren<QPushButton *>())
        if (button->window() == &window)
            buttons.append(button);
    ASSERT_FALSE(buttons.isEmpty()) << window.objectName().toStdString();
    for (const QPushButton *button : buttons) {
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        EXPECT_FALSE(button->text().isEmpty()) << button->objectName().toStdString();
    }
}

TEST(ButtonLook, EveryKindGetsAnIconAndKeepsItsText)
{
    for (const ButtonIcon icon :
         {ButtonIcon::Ok, ButtonIcon::Cancel, ButtonIcon::New, ButtonIcon::Change,
          ButtonIcon::Delete, ButtonIcon::Copy, ButtonIcon::Quit, ButtonIcon::Open,
          ButtonIcon::Print, ButtonIcon::Font, ButtonIcon::Back}) {
        QPushButton button(QStringLiteral("Text"));
        setButtonLook(button, icon);
        EXPECT_FALSE(button.icon().pixmap(16, 16).isNull()) << int(icon);
        EXPECT_EQ(button.text(), QStringLiteral("Text"));
    }
}

TEST(ButtonLook, CopyIsNeitherTheMagnifierNorTheNewPage)
{
    const auto imageOf = [](const QIcon &icon) {
        return icon.pixmap(16, 16).toImage();
    };
    QPushButton copy(QStringLiteral("Fahrt kopieren..."));
    setButtonLook(copy, ButtonIcon::Copy);
    QPushButton added(QStringLiteral("Neue Fahrt..."));
    setButtonLook(added, ButtonIcon::New);
    const QIcon magnifier = copy.style()->standardIcon(QStyle::SP_FileDialogContentsView);
    EXPECT_NE(imageOf(copy.icon()), imageOf(magnifier));
    EXPECT_NE(imageOf(copy.icon()), imageOf(added.icon()));
}

TEST_F(MainFormTest, ButtonsOfTheWindowsCarryTheirIcons)
{
    expectEveryButtonHasItsLook(*form);
    lookAtEveryDialog([](const QDialog &dialog) { expectEveryButtonHasItsLook(dialog); });
}

} // namespace
} // namespace fb::test
