#include "main_form_fixture.h"

#include "ui/about_box.h"
#include "ui/button_look.h"

#include <QPushButton>

namespace fb::test {
namespace {

// Every push button of the window carries an icon beside its text.
void expectEveryButtonHasItsLook(const QWidget &window)
{
    const auto buttons = window.findChildren<QPushButton *>();
    ASSERT_FALSE(buttons.isEmpty());
    for (const QPushButton *button : buttons) {
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        EXPECT_FALSE(button->text().isEmpty()) << button->objectName().toStdString();
    }
}

TEST(ButtonLook, EveryKindGetsAnIconAndKeepsItsText)
{
    for (const ButtonIcon icon : {ButtonIcon::Ok, ButtonIcon::Cancel, ButtonIcon::New,
                                  ButtonIcon::Change, ButtonIcon::Delete, ButtonIcon::Copy,
                                  ButtonIcon::Quit, ButtonIcon::Open, ButtonIcon::Print}) {
        QPushButton button(QStringLiteral("Text"));
        setButtonLook(button, icon);
        EXPECT_FALSE(button.icon().pixmap(16, 16).isNull()) << int(icon);
        EXPECT_EQ(button.text(), QStringLiteral("Text"));
    }
}

TEST_F(MainFormTest, ButtonsOfTheWindowsCarryTheirIcons)
{
    for (const QWidget *window :
         std::initializer_list<const QWidget *>{form.get(), &form->fahrtForm(), &form->aboutBox()})
        expectEveryButtonHasItsLook(*window);
}

} // namespace
} // namespace fb::test
