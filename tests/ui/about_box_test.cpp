#include "main_form_fixture.h"

#include "ui/window/about_box.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>

namespace fb::test {
namespace {

TEST(AboutBox, ShowsTheIconThePictureAndTheCurrentYear)
{
    TAboutBox box;
    ASSERT_NE(box.Image1->pixmap().toImage().isNull(), true) << "the JPEG was not decoded";
    EXPECT_FALSE(box.Image1->isHidden());
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Tervona Fahrtenbuch 1.0"));
    EXPECT_TRUE(box.Copyright->text().contains(QString::number(QDate::currentDate().year())));
    EXPECT_FALSE(programIcon().pixmap(16, 16).isNull());
}

TEST(AboutBox, UnreadablePictureLeavesTheBoxWithoutIt)
{
    TAboutBox box(nullptr, QStringLiteral(":/fahrtenbuch/fehlt.jpg"));
    EXPECT_TRUE(box.Image1->isHidden());
    EXPECT_TRUE(box.Image1->pixmap().isNull());
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Tervona Fahrtenbuch 1.0"));
}

TEST(AboutBox, WebButtonOpensTheMakersAddress)
{
    TAboutBox box;
    QList<QUrl> opened;
    box.setUrlOpener([&](const QUrl &url) {
        opened.append(url);
        return true;
    });
    box.WebBtn->click();
    EXPECT_EQ(opened, QList<QUrl>{kMakerWebAddress});
    EXPECT_FALSE(box.WebBtn->text().isEmpty());
}

TEST_F(MainFormTest, AboutCommandShowsTheAboutBoxAndChangesNothing)
{
    const QString before = caption();
    QString shown;
    prompts.answerDialog([&](QDialog &dialog) {
        shown = dialog.objectName();
        dynamic_cast<TAboutBox &>(dialog).OKButton->click();
        return dialog.result();
    });
    trigger("ber1");
    EXPECT_EQ(shown, QStringLiteral("AboutBox"));
    EXPECT_FALSE(form->document().isChanged());
    EXPECT_EQ(caption(), before);
}

} // namespace
} // namespace fb::test
