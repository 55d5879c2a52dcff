#include "print/logbook_printer.h"
#include "print/recorded_pages.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <tuple>

namespace fb {
namespace {

using test::RecordingCanvas;

auto key(const RecordingCanvas::Text &text)
{
    return std::tuple(text.x, text.y, text.text, text.face, text.struckOut);
}

auto key(const RecordingCanvas::Line &line)
{
    return std::tuple(line.x1, line.y1, line.x2, line.y2, line.penWidth);
}

template<typename Item> QList<decltype(key(Item{}))> onPage(const QList<Item> &items, int page)
{
    QList<decltype(key(Item{}))> result;
    for (const Item &item : items) {
        if (item.page == page)
            result.append(key(item));
    }
    return result;
}

// Each page painted on its own, last page first, on a canvas that knows nothing of the pages
// before it, is the page the job printed: fonts (heading, text, struck out) and pen widths are
// those in use where the page began, and a text is measured in the font it is printed in.
TEST(RecordedPages, EachPagePaintedAloneIsThePageThePrintJobPrinted)
{
    Logbook logbook;
    for (int i = 0; i < 200; ++i) {
        const bool deleted = i % 45 == 44;
        logbook.trips.append(
            Row{QStringLiteral("%1.11.2026 08:00:00").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                {QStringLiteral("Köln"), QStringLiteral("30.11.2026 09:00:00"),
                 i % 3 ? QStringLiteral("Bonn") : QStringLiteral("Aachen"), QStringLiteral("12,5"),
                 deleted ? QStringLiteral("hin\nund zurück") : QStringLiteral("2"),
                 i % 2 ? QStringLiteral("Privat") : QStringLiteral("Geschäftlich"),
                 deleted ? QStringLiteral("Ja") : QString(), QString(), QString()}});
    }
    // Pages so short that the heading breaks the first one: the second page begins in the
    // heading font.
    RecordingCanvas direct;
    direct.height = 900;
    printLogbook(logbook, direct);

    RecordingCanvas layout;
    layout.height = direct.height;
    RecordedPages pages(layout);
    printLogbook(logbook, pages);
    ASSERT_EQ(pages.pageCount(), direct.page);
    ASSERT_GE(pages.pageCount(), 4);
    EXPECT_TRUE(layout.texts.isEmpty());
    for (int page = pages.pageCount(); page >= 1; --page) {
        RecordingCanvas alone;
        alone.height = direct.height;
        alone.beginJob();
        alone.page = page;
        pages.paintPage(page - 1, alone);
        EXPECT_EQ(onPage(alone.texts, page), onPage(direct.texts, page)) << page;
        EXPECT_EQ(onPage(alone.lines, page), onPage(direct.lines, page)) << page;
    }

    // The same text in another font is measured again.
    pages.beginJob();
    for (const PrintFont &font : {logbook.headingFont, logbook.textFont, logbook.headingFont}) {
        pages.selectFont(font);
        EXPECT_EQ(pages.textWidth(QStringLiteral("2")), layout.textWidth(QStringLiteral("2")));
    }
}

} // namespace
} // namespace fb
