#include "widget_test_support.h"

#include "ui/fields/groove_caching_style.h"

#include <QImage>
#include <QScrollBar>

namespace fb::test {
namespace {

// Two scroll bars side by side, one drawn by the application's style, one through the groove
// cache; every change is made to both.
class GrooveCachingStyleTest : public ::testing::Test {
protected:
    GrooveCachingStyleTest()
    {
        cached.setStyle(&style);
        for (QScrollBar *bar : {&plain, &cached}) {
            bar->setRange(0, 100'000);
            bar->setPageStep(25);
            bar->resize(16, 300);
        }
    }

    template<typename Change> void changeBoth(Change change)
    {
        change(plain);
        change(cached);
    }

    GrooveCachingStyle style;
    QScrollBar plain{Qt::Vertical};
    QScrollBar cached{Qt::Vertical};
};

TEST_F(GrooveCachingStyleTest, BarLooksAsTheStyleDrawsItWhereverTheSliderIsAndWhateverItsSize)
{
    for (const int value : {0, 500, 50'000, 99'990, 100'000}) {
        changeBoth([value](QScrollBar &bar) { bar.setValue(value); });
        EXPECT_EQ(cached.grab().toImage(), plain.grab().toImage()) << "at " << value;
    }
    changeBoth([](QScrollBar &bar) { bar.resize(16, 420); });
    EXPECT_EQ(cached.grab().toImage(), plain.grab().toImage()) << "taller";
    changeBoth([](QScrollBar &bar) { bar.setEnabled(false); });
    EXPECT_EQ(cached.grab().toImage(), plain.grab().toImage()) << "disabled";
    changeBoth([](QScrollBar &bar) {
        bar.setEnabled(true);
        bar.setOrientation(Qt::Horizontal);
        bar.resize(300, 16);
    });
    EXPECT_EQ(cached.grab().toImage(), plain.grab().toImage()) << "horizontal";
}

} // namespace
} // namespace fb::test
