#include "main_form_fixture.h"

#include "ui/list/trip_list_view.h"

#include <QHeaderView>
#include <QImage>

namespace fb::test {
namespace {

// The share of pure black pixels on one line of the image, between two x positions.
double blackShare(const QImage &image, int y, int left, int right)
{
    int black = 0;
    for (int x = left; x < right; ++x)
        black += image.pixelColor(x, y) == QColor(Qt::black);
    return double(black) / (right - left);
}

TEST_F(MainFormTest, DeletedTripIsStruckThroughAcrossTheWholeRowAtItsMiddle)
{
    addTrips({tripOn(2, "Bonn", "Köln", "30"), tripOn(3, "Köln", "Bonn", "30"),
              tripOn(4, "Bonn", "Siegburg", "12")});
    form->tripList().selectRow(1);
    trigger("Lschen1");
    form->tripList().clearSelection();
    ASSERT_TRUE(showActive(*form));

    TripListView &list = form->tripList();
    const QImage image = list.viewport()->grab().toImage();
    const int right = std::min(image.width(), list.horizontalHeader()->length());
    const auto middleOf = [&](int row) {
        const int top = list.rowViewportPosition(row);
        return TripListView::strikeThroughY(top, top + list.rowHeight(row));
    };

    EXPECT_GT(blackShare(image, middleOf(1), 0, right), 0.99) << "the deleted row";
    EXPECT_LT(blackShare(image, middleOf(1) - 2, 0, right), 0.5) << "one line, not a band";
    EXPECT_LT(blackShare(image, middleOf(1) + 2, 0, right), 0.5);
    EXPECT_LT(blackShare(image, middleOf(0), 0, right), 0.5) << "a live row";
    EXPECT_LT(blackShare(image, middleOf(2), 0, right), 0.5);
}

} // namespace
} // namespace fb::test
