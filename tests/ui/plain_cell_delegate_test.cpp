#include "main_form_fixture.h"

#include "ui/list/plain_cell_delegate.h"
#include "ui/list/trip_list_view.h"

#include <QImage>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>

namespace fb::test {
namespace {

// The number of pixels in a rectangle of the image darker than mid-grey: text, or a line.
int darkPixels(const QImage &image, const QRect &area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

// A cell's inside, without the grid lines around it.
QRect insideOf(const QTableView &view, int row, int column)
{
    return view.visualRect(view.model()->index(row, column)).adjusted(1, 1, -2, -2);
}

TEST(PlainCellDelegateTest, TextTooWideForItsColumnStaysInsideIt)
{
    QStandardItemModel model(2, 2);
    model.setItem(0, 0, new QStandardItem(QStringLiteral("Köln, Rheinuferstraße 7, Hinterhof")));
    model.setItem(1, 0, new QStandardItem(QStringLiteral("Bonn")));
    QTableView view;
    view.setItemDelegate(new PlainCellDelegate(&view));
    view.setModel(&model);
    view.setColumnWidth(0, 70);
    view.setColumnWidth(1, 70);
    view.resize(200, 120);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    const QImage image = view.viewport()->grab().toImage();
    EXPECT_GT(darkPixels(image, insideOf(view, 0, 0)), 20) << "the long text is shown";
    EXPECT_GT(darkPixels(image, insideOf(view, 1, 0)), 20) << "the short text is shown";
    EXPECT_EQ(darkPixels(image, insideOf(view, 0, 1)), 0) << "nothing spills into the next column";
}

// Sets the application's palette and puts the old one back at the end of the test.
class ApplicationPaletteForTest {
public:
    explicit ApplicationPaletteForTest(const QPalette &palette)
    {
        QApplication::setPalette(palette);
    }
    ~ApplicationPaletteForTest() { QApplication::setPalette(m_old); }
    ApplicationPaletteForTest(const ApplicationPaletteForTest &) = delete;
    ApplicationPaletteForTest &operator=(const ApplicationPaletteForTest &) = delete;

private:
    QPalette m_old = QApplication::palette();
};

TEST_F(MainFormTest, SelectedTripKeepsTheActiveHighlightWhileAnotherWindowIsActive)
{
    // Many desktop styles paint an inactive window's selection pale; this one makes it grey.
    QPalette paleWhenInactive = QApplication::palette();
    paleWhenInactive.setColor(QPalette::Inactive, QPalette::Highlight, Qt::lightGray);
    const ApplicationPaletteForTest palette(paleWhenInactive);
    form = std::make_unique<TMainForm>(prompts, 96);

    addTrips({tripOn(2, "Bonn", "Köln", "30"), tripOn(3, "Köln", "Bonn", "30")});
    ASSERT_TRUE(showActive(*form));
    form->tripList().selectRow(0);
    QLineEdit otherWindow;
    ASSERT_TRUE(showActive(otherWindow));

    TripListView &list = form->tripList();
    ASSERT_FALSE(list.isActiveWindow());
    const QImage image = list.viewport()->grab().toImage();
    const QColor highlight = paleWhenInactive.color(QPalette::Active, QPalette::Highlight);
    const auto highlightedShare = [&](int row) {
        const QRect cell = insideOf(list, row, 1);
        int highlighted = 0;
        for (int x = cell.left(); x <= cell.right(); ++x)
            highlighted += image.pixelColor(x, cell.top()) == highlight;
        return double(highlighted) / cell.width();
    };
    EXPECT_GT(highlightedShare(0), 0.99) << "the selected trip";
    EXPECT_LT(highlightedShare(1), 0.01) << "another trip";
    EXPECT_GT(darkPixels(image, insideOf(list, 1, 1)), 20) << "the other trip's text";
}

} // namespace
} // namespace fb::test
