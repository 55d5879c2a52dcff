#include "checks/entry_log_report.h"
#include "core/error.h"
#include "core/ole_date.h"
#include "model/logbook_operation.h"
#include "model/trip_columns.h"
#include "print/logbook_printer.h"
#include "recording_canvas.h"
#include "row_edit.h"

#include <gtest/gtest.h>

namespace fb {
namespace {

using test::RecordingCanvas;

// With the recording canvas at 600 pixels per inch: the text font (8 points) is 66 pixels
// high and 33 wide per character, the heading font (14 points) 116 high.
constexpr int kMargin = 354;
constexpr int kTextLine = 66;
constexpr int kHeadingLine = 116;
// Heading at the margin, two heading lines, the titles, one line, the rule, one line.
constexpr int kTitlesY = kMargin + 2 * kHeadingLine;
constexpr int kRuleY = kTitlesY + kTextLine;
constexpr int kFirstRowY = kRuleY + kTextLine;
constexpr int kPageLimit = 7016 - kMargin;

Row trip(const QString &distance, const QString &kind = QStringLiteral("Geschäftlich"),
         const QString &purpose = QStringLiteral("Kunde"), const QString &deleted = {},
         const QString &departure = QStringLiteral("01.12.2026 08:00:00"),
         const QString &arrival = QStringLiteral("01.12.2026 09:00:00"))
{
    return Row{departure,
               {QStringLiteral("Köln"), arrival, QStringLiteral("Bonn"), distance, purpose, kind,
                deleted, QString(), QString()}};
}

// A logbook that prints only the heading and the trip table.
void printTableOnly(Logbook &logbook)
{
    logbook.print.printMasterData = false;
    logbook.print.printEvaluation = false;
}

RecordingCanvas printed(const Logbook &logbook)
{
    RecordingCanvas canvas;
    printLogbook(logbook, canvas);
    return canvas;
}

// The texts printed on one line of one page, left to right as printed.
QStringList textsAt(const RecordingCanvas &canvas, int page, int y)
{
    QStringList result;
    for (const auto &text : canvas.texts) {
        if (text.page == page && text.y == y)
            result.append(text.text);
    }
    return result;
}

// The texts printed struck out, on every page.
QStringList struckOutTexts(const RecordingCanvas &canvas)
{
    QStringList result;
    for (const auto &text : canvas.texts) {
        if (text.struckOut)
            result.append(text.text);
    }
    return result;
}

TEST(PrintedLogbook, MarginAndCentredPageNumberFollowTheResolution)
{
    Logbook logbook;
    printTableOnly(logbook);
    const RecordingCanvas canvas = printed(logbook);
    EXPECT_EQ(canvas.jobTitle, QStringLiteral("Fahrtenbuch"));
    ASSERT_FALSE(canvas.texts.isEmpty());
    const auto number = canvas.texts.first();
    EXPECT_EQ(number.text, QStringLiteral("1"));
    EXPECT_EQ(number.x, 4960 / 2 - 33 / 2);
    EXPECT_EQ(number.y, 177);
    const auto heading = canvas.find(QStringLiteral("Fahrtenbuch"));
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->x, kMargin);
    EXPECT_EQ(heading->y, kMargin);
    EXPECT_EQ(heading->face, QStringLiteral("Arial Black"));
    ASSERT_EQ(canvas.lines.size(), 1);
    EXPECT_EQ(canvas.lines.first().penWidth, 11);

    RecordingCanvas lowResolution;
    lowResolution.resolution = 300;
    lowResolution.width = 2480;
    lowResolution.height = 3508;
    printLogbook(logbook, lowResolution);
    EXPECT_EQ(lowResolution.find(QStringLiteral("Fahrtenbuch"))->y, 177);
    EXPECT_EQ(lowResolution.find(QStringLiteral("1"))->y, 88);
    EXPECT_EQ(lowResolution.lines.first().penWidth, 5);
}

TEST(PrintedLogbook, ColumnsStandAtTheirUnitsWithRightAlignedNumbers)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.master.startKm = 1000;
    logbook.trips.append(trip(QStringLiteral("12,5")));
    const RecordingCanvas canvas = printed(logbook);

    // u = (4960 - 2 * 354) div 7 = 607.
    const QList<std::pair<QString, int>> titles = {
        {QStringLiteral("Abfahrtszeit"), 354},  {QStringLiteral("Abfahrtsort"), 961},
        {QStringLiteral("Ankunftszeit"), 1568}, {QStringLiteral("Ankunftsort"), 2175},
        {QStringLiteral("Entfernung"), 2841},   {QStringLiteral("Fahrtzweck"), 3206},
        {QStringLiteral("Art"), 4177},          {QStringLiteral("Km Stand"), 4784 - 8 * 33},
    };
    EXPECT_FALSE(canvas.find(QStringLiteral("Typ")));
    for (const auto &[title, x] : titles) {
        const auto printedTitle = canvas.find(title);
        ASSERT_TRUE(printedTitle) << title.toStdString();
        EXPECT_EQ(printedTitle->x, x) << title.toStdString();
        EXPECT_EQ(printedTitle->y, kTitlesY) << title.toStdString();
    }
    const auto distance = canvas.find(QStringLiteral("12,5"));
    EXPECT_EQ(distance->x, 3145 - 4 * 33);
    const auto reading = canvas.find(QStringLiteral("1012,5"));
    EXPECT_EQ(reading->x, 4784 - 6 * 33);
    EXPECT_EQ(reading->y, kFirstRowY);
    EXPECT_EQ(canvas.find(QStringLiteral("Bonn"))->x, 2175);

    // The rule under the titles runs past the right margin to the reading column's edge.
    const auto rule = canvas.lines.first();
    EXPECT_EQ(rule.x1, kMargin);
    EXPECT_EQ(rule.x2, 4784);
    EXPECT_EQ(rule.y1, kRuleY);
    EXPECT_EQ(rule.y2, kRuleY);
}

TEST(PrintedLogbook, PurposeLinesMakeTheRowTaller)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.trips.append(trip(QStringLiteral("1"), QStringLiteral("Privat"),
                              QStringLiteral("eins\r\nzwei\r\ndrei")));
    logbook.trips.append(trip(QStringLiteral("2"), QStringLiteral("Privat"), QString()));
    logbook.trips.append(trip(QStringLiteral("3")));
    const RecordingCanvas canvas = printed(logbook);
    EXPECT_EQ(canvas.find(QStringLiteral("eins"))->y, kFirstRowY);
    EXPECT_EQ(canvas.find(QStringLiteral("zwei"))->y, kFirstRowY + kTextLine);
    EXPECT_EQ(canvas.find(QStringLiteral("drei"))->y, kFirstRowY + 2 * kTextLine);
    EXPECT_EQ(canvas.find(QStringLiteral("zwei"))->x, 3206);
    EXPECT_EQ(canvas.find(QStringLiteral("Privat"))->y, kFirstRowY);
    // An empty purpose still takes one line.
    EXPECT_EQ(canvas.find(QStringLiteral("1,0"))->y, kFirstRowY);
    EXPECT_EQ(canvas.find(QStringLiteral("3,0"))->y, kFirstRowY + 3 * kTextLine);
    EXPECT_EQ(canvas.find(QStringLiteral("6,0"))->y, kFirstRowY + 4 * kTextLine);
}

TEST(PrintedLogbook, PurposeSplitsAtEveryKindOfLineBreak)
{
    EXPECT_EQ(purposeLines(QString()), QStringList());
    EXPECT_EQ(purposeLines(QStringLiteral("a\r\n")), QStringList({QStringLiteral("a")}));
    EXPECT_EQ(purposeLines(QStringLiteral("a\rb\nc\r\n\r\nd")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QString(),
                           QStringLiteral("d")}));
    EXPECT_EQ(purposeLines(QStringLiteral("\n")), QStringList({QString()}));
}

TEST(PrintedLogbook, DeletedRowIsStruckThroughEveryLineAndKeepsTheReading)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.master.startKm = 100;
    logbook.trips.append(trip(QStringLiteral("10"), QStringLiteral("Privat"),
                              QStringLiteral("hin\r\nzurück"), QStringLiteral("Ja")));
    logbook.trips.append(trip(QStringLiteral("5")));
    const RecordingCanvas canvas = printed(logbook);
    // Each text of each line in the struck-out face, thin through its letters and no wider
    // than the text; no heavy line but the rule under the titles.
    EXPECT_EQ(struckOutTexts(canvas),
              (QStringList{QStringLiteral("01.12.2026 08:00:00"), QStringLiteral("Köln"),
                           QStringLiteral("01.12.2026 09:00:00"), QStringLiteral("Bonn"),
                           QStringLiteral("10"), QStringLiteral("hin"), QStringLiteral("Privat"),
                           QStringLiteral("100,0"), QStringLiteral("zurück")}));
    EXPECT_EQ(canvas.lines.size(), 1);
    EXPECT_EQ(canvas.find(QStringLiteral("100,0"))->y, kFirstRowY);
    EXPECT_EQ(canvas.find(QStringLiteral("105,0"))->y, kFirstRowY + 2 * kTextLine);
}

// 91 one-line rows fill the first page: the 91st starts at 6658, just above the limit, and
// the page breaks after it.
constexpr int kRowsOnFirstPage = 91;

TEST(PrintedLogbook, PageBreaksAfterTheRowThatCrossesTheLimit)
{
    Logbook logbook;
    printTableOnly(logbook);
    // One line each: beside readings of six characters "Geschäftlich" would not fit its
    // column on this canvas.
    for (int i = 0; i < kRowsOnFirstPage + 1; ++i)
        logbook.trips.append(trip(QString::number(i + 1), QStringLiteral("Privat")));
    // The last row of the first page is deleted: struck through there, not on the next page.
    test::replaceSubItem(logbook.trips, kRowsOnFirstPage - 1, TripSubItem::Deleted,
                         QStringLiteral("Ja"));
    const RecordingCanvas canvas = printed(logbook);

    const int lastRowY = kFirstRowY + (kRowsOnFirstPage - 1) * kTextLine;
    ASSERT_LE(lastRowY, kPageLimit);
    EXPECT_EQ(textsAt(canvas, 1, lastRowY).at(4), QString::number(kRowsOnFirstPage));
    const auto struck = canvas.find(QString::number(kRowsOnFirstPage));
    EXPECT_TRUE(struck->struckOut && struck->page == 1 && struck->y == lastRowY);
    EXPECT_EQ(struckOutTexts(canvas).size(), 8);

    EXPECT_EQ(canvas.events, QStringList({QStringLiteral("begin"), QStringLiteral("newPage"),
                                          QStringLiteral("end")}));
    EXPECT_EQ(textsAt(canvas, 2, 177), QStringList({QStringLiteral("2")}));
    const QStringList nextRow = textsAt(canvas, 2, kMargin);
    ASSERT_EQ(nextRow.size(), 8);
    EXPECT_EQ(nextRow.at(4), QString::number(kRowsOnFirstPage + 1));
    // No titles on later pages.
    EXPECT_FALSE(canvas.textsOnPage(2).contains(QStringLiteral("Abfahrtszeit")));
}

TEST(PrintedLogbook, TallRowThatWouldRunOffThePaperStartsTheNextPage)
{
    const auto withLastRow = [](int purposeLineCount) {
        Logbook logbook;
        printTableOnly(logbook);
        for (int i = 0; i < kRowsOnFirstPage - 1; ++i)
            logbook.trips.append(trip(QStringLiteral("1")));
        QStringList purpose;
        for (int i = 0; i < purposeLineCount; ++i)
            purpose.append(QStringLiteral("Zeile %1").arg(i + 1));
        logbook.trips.append(trip(QStringLiteral("1"), QStringLiteral("Privat"),
                                  purpose.join(QStringLiteral("\r\n"))));
        return printed(logbook);
    };
    const int lastRowY = kFirstRowY + (kRowsOnFirstPage - 1) * kTextLine;

    // Five lines reach into the bottom margin but end on the paper: the row stays.
    const RecordingCanvas fits = withLastRow(5);
    ASSERT_LE(lastRowY + 5 * kTextLine, 7016);
    EXPECT_EQ(fits.find(QStringLiteral("Zeile 1"))->page, 1);
    EXPECT_EQ(fits.find(QStringLiteral("Zeile 5"))->y, lastRowY + 4 * kTextLine);

    // Six lines would end below the paper: a new page, with its number, takes the row.
    const RecordingCanvas moved = withLastRow(6);
    ASSERT_GT(lastRowY + 6 * kTextLine, 7016);
    const auto first = moved.find(QStringLiteral("Zeile 1"));
    EXPECT_EQ(first->page, 2);
    EXPECT_EQ(first->y, kMargin);
    EXPECT_EQ(moved.find(QStringLiteral("Zeile 6"))->y, kMargin + 5 * kTextLine);
    EXPECT_EQ(textsAt(moved, 2, 177), QStringList({QStringLiteral("2")}));
    EXPECT_EQ(moved.events.count(QStringLiteral("newPage")), 1);
}

TEST(PrintedLogbook, PurposeLongerThanAPageGoesOnOnTheNextPages)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.trips.append(trip(QStringLiteral("1")));
    QStringList purpose;
    for (int i = 0; i < 150; ++i)
        purpose.append(QStringLiteral("Zeile %1").arg(i + 1));
    logbook.trips.append(trip(QStringLiteral("2"), QStringLiteral("Privat"),
                              purpose.join(QStringLiteral("\r\n")), QStringLiteral("Ja")));
    logbook.trips.append(trip(QStringLiteral("3")));
    const RecordingCanvas canvas = printed(logbook);

    // The row moves to page 2 and fills it down to the paper's edge: (7016 - 354) div 66
    // lines; the rest follows on page 3 below its page number.
    constexpr int kLinesOnPage = (7016 - kMargin) / kTextLine;
    const auto first = canvas.find(QStringLiteral("Zeile 1"));
    EXPECT_EQ(first->page, 2);
    EXPECT_EQ(first->y, kMargin);
    EXPECT_EQ(textsAt(canvas, 2, kMargin).at(4), QStringLiteral("2"));
    const auto lastOnPage = canvas.find(QStringLiteral("Zeile %1").arg(kLinesOnPage));
    EXPECT_EQ(lastOnPage->page, 2);
    EXPECT_LE(lastOnPage->y + kTextLine, 7016);
    const auto carried = canvas.find(QStringLiteral("Zeile %1").arg(kLinesOnPage + 1));
    EXPECT_EQ(carried->page, 3);
    EXPECT_EQ(carried->y, kMargin);
    EXPECT_EQ(textsAt(canvas, 3, 177), QStringList({QStringLiteral("3")}));
    // Struck through on every page it takes, but for the pages' numbers; the next row
    // follows below it.
    const int lastY = kMargin + (150 - kLinesOnPage - 1) * kTextLine;
    EXPECT_EQ(canvas.find(QStringLiteral("Zeile 150"))->y, lastY);
    EXPECT_TRUE(canvas.find(QStringLiteral("Zeile 150"))->struckOut);
    EXPECT_EQ(struckOutTexts(canvas).size(), 7 + 150);
    EXPECT_EQ(textsAt(canvas, 3, lastY + kTextLine).at(4), QStringLiteral("3"));
}

// With u = 607 and a gap of 23 pixels (1 mm), the rooms of the text columns, and the
// characters of 33 pixels that fit them: a place 584 (17), a purpose 948 (28).
constexpr int kColumnGap = 23;
constexpr int kDeparturePlaceX = 961;
constexpr int kArrivalX = 1568;
constexpr int kArrivalPlaceX = 2175;
constexpr int kPurposeX = 3206;
constexpr int kKindX = 4177;

Row tripFrom(const QString &departurePlace, const QString &purpose,
             const QString &arrivalPlace = QStringLiteral("Bonn"),
             const QString &kind = QStringLiteral("Privat"))
{
    Row row = trip(QStringLiteral("12"), kind, purpose);
    row.subItems[TripSubItem::DeparturePlace] = departurePlace;
    row.subItems[TripSubItem::ArrivalPlace] = arrivalPlace;
    return row;
}

// The texts printed in one column of one page, top to bottom, without the column title.
QList<RecordingCanvas::Text> column(const RecordingCanvas &canvas, int page, int x)
{
    QList<RecordingCanvas::Text> result;
    for (const auto &text : canvas.texts) {
        const bool title = text.page == 1 && text.y < kFirstRowY;
        if (text.page == page && text.x == x && !title)
            result.append(text);
    }
    return result;
}

QStringList linesOf(const QList<RecordingCanvas::Text> &texts)
{
    QStringList result;
    for (const auto &text : texts)
        result.append(text.text);
    return result;
}

// No line of the column at x reaches into the gap before the next column.
void expectWithin(const RecordingCanvas &canvas, int x, int nextColumnX)
{
    for (const auto &text : column(canvas, 1, x)) {
        EXPECT_LE(text.x + canvas.textWidth(text.text), nextColumnX - kColumnGap)
            << text.text.toStdString();
    }
}

TEST(PrintedLogbook, LongTextsWrapWithinTheirColumnsAndTheRowTakesTheTallest)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.master.startKm = 48229;
    logbook.trips.append(
        tripFrom(QStringLiteral("Köln, Rheinuferstraße 7"),
                 QStringLiteral("Wartung Heizungsanlage Fa. Lindner KG\r\nRückfahrt über Lager"),
                 QStringLiteral("Köln-Ehrenfeld, Venloer Straße 400, Hinterhof")));
    logbook.trips.append(trip(QStringLiteral("3"), QStringLiteral("Privat")));
    const RecordingCanvas canvas = printed(logbook);

    EXPECT_EQ(linesOf(column(canvas, 1, kDeparturePlaceX)),
              QStringList({QStringLiteral("Köln,"), QStringLiteral("Rheinuferstraße 7"),
                           QStringLiteral("Köln")}));
    // The purpose keeps its own line break and each of its lines wraps.
    EXPECT_EQ(
        linesOf(column(canvas, 1, kPurposeX)),
        QStringList({QStringLiteral("Wartung Heizungsanlage Fa."), QStringLiteral("Lindner KG"),
                     QStringLiteral("Rückfahrt über Lager"), QStringLiteral("Kunde")}));
    // The arrival place runs up to the distance, which begins at 3145 - 2 * 33.
    EXPECT_EQ(linesOf(column(canvas, 1, kArrivalPlaceX)),
              QStringList({QStringLiteral("Köln-Ehrenfeld, Venloer"),
                           QStringLiteral("Straße 400, Hinterhof"), QStringLiteral("Bonn")}));
    expectWithin(canvas, kDeparturePlaceX, kArrivalX);
    expectWithin(canvas, kArrivalPlaceX, 3145 - 2 * 33);
    expectWithin(canvas, kPurposeX, kKindX);

    // Lines follow each other; numbers and the other texts stay on the first line.
    const auto purpose = column(canvas, 1, kPurposeX);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(purpose.at(k).y, kFirstRowY + k * kTextLine);
    EXPECT_EQ(canvas.find(QStringLiteral("48241,0"))->y, kFirstRowY);
    EXPECT_EQ(canvas.find(QStringLiteral("Privat"))->y, kFirstRowY);
    // The purpose has three lines, more than the places: the next row starts below them.
    EXPECT_EQ(canvas.find(QStringLiteral("48244,0"))->y, kFirstRowY + 3 * kTextLine);
}

TEST(PrintedLogbook, KindWrapsBeforeTheReadingAndDatesWrapInALargeFont)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.master.startKm = 9999988;
    logbook.trips.append(trip(QStringLiteral("12")));
    const RecordingCanvas canvas = printed(logbook);
    // The reading "10000000,0" begins at 4784 - 10 * 33 = 4454: the kind has 254 pixels.
    EXPECT_EQ(canvas.find(QStringLiteral("10000000,0"))->x, 4454);
    EXPECT_EQ(linesOf(column(canvas, 1, kKindX)),
              QStringList({QStringLiteral("Geschäf"), QStringLiteral("tlich")}));
    expectWithin(canvas, kKindX, 4454);

    // In 12 points a character is 50 pixels wide: a date and time no longer fits its column
    // and breaks between the two.
    logbook.textFont.sizePoints = 12;
    const RecordingCanvas large = printed(logbook);
    EXPECT_EQ(linesOf(column(large, 1, kMargin)),
              QStringList({QStringLiteral("01.12.2026"), QStringLiteral("08:00:00")}));
    EXPECT_EQ(linesOf(column(large, 1, kArrivalX)),
              QStringList({QStringLiteral("01.12.2026"), QStringLiteral("09:00:00")}));
    expectWithin(large, kMargin, kDeparturePlaceX);
    expectWithin(large, kArrivalX, kArrivalPlaceX);
}

TEST(PrintedLogbook, WordWiderThanItsColumnIsBrokenInside)
{
    Logbook logbook;
    printTableOnly(logbook);
    const QString word = QStringLiteral("Donaudampfschifffahrtsgesellschaft");
    logbook.trips.append(tripFrom(word + QStringLiteral(" Hafen"), QStringLiteral("Kunde")));
    const RecordingCanvas canvas = printed(logbook);
    const QStringList lines = linesOf(column(canvas, 1, kDeparturePlaceX));
    EXPECT_EQ(lines, QStringList({QStringLiteral("Donaudampfschifff"),
                                  QStringLiteral("ahrtsgesellschaft"), QStringLiteral("Hafen")}));
    expectWithin(canvas, kDeparturePlaceX, kArrivalX);
}

TEST(PrintedLogbook, WrappedDeletedRowIsStruckThroughEveryLine)
{
    Logbook logbook;
    printTableOnly(logbook);
    Row row = tripFrom(QStringLiteral("Köln, Rheinuferstraße 7"), QStringLiteral("Kunde"));
    row.subItems[TripSubItem::Deleted] = QStringLiteral("Ja");
    logbook.trips.append(row);
    const RecordingCanvas canvas = printed(logbook);
    EXPECT_EQ(canvas.find(QStringLiteral("Rheinuferstraße 7"))->y, kFirstRowY + kTextLine);
    EXPECT_TRUE(canvas.find(QStringLiteral("Rheinuferstraße 7"))->struckOut);
    EXPECT_EQ(struckOutTexts(canvas).size(), canvas.texts.size() - 1 - 8 - 1)
        << "all but the page number, the heading and the titles";
    EXPECT_EQ(canvas.lines.size(), 1);
}

// Six words that each take a line of the departure place column.
QString sixLinePlace()
{
    QStringList words;
    for (int i = 0; i < 6; ++i)
        words.append(QStringLiteral("Ortsteil%1Weg").arg(i + 1));
    return words.join(QLatin1Char(' '));
}

TEST(PrintedLogbook, WrappedRowNearThePageEndMovesToTheNextPageWhole)
{
    Logbook logbook;
    printTableOnly(logbook);
    for (int i = 0; i < kRowsOnFirstPage - 1; ++i)
        logbook.trips.append(trip(QStringLiteral("1")));
    logbook.trips.append(tripFrom(sixLinePlace(), QStringLiteral("Kunde")));
    const RecordingCanvas canvas = printed(logbook);

    // Six lines from the last row's place on the first page would end below the paper.
    ASSERT_GT(kFirstRowY + (kRowsOnFirstPage - 1) * kTextLine + 6 * kTextLine, 7016);
    const auto place = column(canvas, 2, kDeparturePlaceX);
    ASSERT_EQ(place.size(), 6);
    EXPECT_EQ(place.first().text, QStringLiteral("Ortsteil1Weg"));
    EXPECT_EQ(place.first().y, kMargin);
    EXPECT_EQ(place.last().y, kMargin + 5 * kTextLine);
    EXPECT_EQ(textsAt(canvas, 2, kMargin).size(), 8);
    EXPECT_TRUE(column(canvas, 1, kDeparturePlaceX).size() == kRowsOnFirstPage - 1);
}

TEST(PrintedLogbook, WrappedTextLongerThanAPageGoesOnOnTheNextPages)
{
    Logbook logbook;
    printTableOnly(logbook);
    QStringList stops;
    for (int i = 0; i < 120; ++i)
        stops.append(QStringLiteral("Haltestelle%1").arg(i + 1, 3, 10, QLatin1Char('0')));
    logbook.trips.append(tripFrom(QStringLiteral("Köln"), QStringLiteral("Rundfahrt"),
                                  stops.join(QLatin1Char(' '))));
    const RecordingCanvas canvas = printed(logbook);

    // One stop a line: the row moves to page 2, fills it down to the paper's edge and goes
    // on at the top of page 3.
    constexpr int kLinesOnPage = (7016 - kMargin) / kTextLine;
    EXPECT_TRUE(column(canvas, 1, kArrivalPlaceX).isEmpty());
    const auto onSecond = column(canvas, 2, kArrivalPlaceX);
    ASSERT_EQ(onSecond.size(), kLinesOnPage);
    EXPECT_EQ(onSecond.first().y, kMargin);
    EXPECT_LE(onSecond.last().y + kTextLine, 7016);
    const auto onThird = column(canvas, 3, kArrivalPlaceX);
    ASSERT_EQ(onThird.size(), 120 - kLinesOnPage);
    EXPECT_EQ(onThird.first().text, stops.at(kLinesOnPage));
    EXPECT_EQ(onThird.first().y, kMargin);
}

TEST(PrintedLogbook, ExcludedTripsStillAdvanceTheReadingAndTheFinalOdometer)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.print.printEvaluation = true;
    logbook.print.printPrivateTrips = false;
    logbook.master.startKm = 1000;
    logbook.trips.append(trip(QStringLiteral("10")));
    logbook.trips.append(trip(QStringLiteral("5"), QStringLiteral("Privat")));
    logbook.trips.append(trip(QStringLiteral("20,25")));
    logbook.trips.append(trip(QStringLiteral("99"), QStringLiteral("Geschäftlich"),
                              QStringLiteral("Kunde"), QStringLiteral("Ja")));
    const RecordingCanvas canvas = printed(logbook);
    const QStringList texts = canvas.textsOnPage(1);
    EXPECT_TRUE(texts.contains(QStringLiteral("1010,0")));
    EXPECT_FALSE(texts.contains(QStringLiteral("1015,0")));
    EXPECT_TRUE(texts.contains(QStringLiteral("1035,3")));
    EXPECT_FALSE(texts.contains(QStringLiteral("5")));

    const qsizetype first = texts.indexOf(QStringLiteral("Anzahl geschäftlicher Fahrten: 2"));
    ASSERT_GE(first, 0);
    EXPECT_EQ(texts.mid(first),
              QStringList({QStringLiteral("Anzahl geschäftlicher Fahrten: 2"),
                           QStringLiteral("Anzahl privater Fahrten: 0"),
                           QStringLiteral("Anzahl Fahrten gesamt: 2"),
                           QStringLiteral("Geschäftlich gefahrene Kilometer: 30,3"),
                           QStringLiteral("Privat gefahrene Kilometer: 0,0"),
                           QStringLiteral("Gefahrene Kilometer gesamt: 30,3"),
                           QStringLiteral("Kilometerstand Ende: 1035,3")}));
    // One empty line before the block and one before the final reading.
    const int blockY = canvas.find(texts.at(first))->y;
    EXPECT_EQ(canvas.find(QStringLiteral("Kilometerstand Ende: 1035,3"))->y,
              blockY + 7 * kTextLine);
}

TEST(PrintedLogbook, SummaryPageTotalsTheMonthsOfTheLiveTripsForASignature)
{
    Logbook logbook;
    logbook.print.printMasterData = false;
    logbook.master.startKm = 1000;
    logbook.master.registrationNumber = QStringLiteral("K-XY 1");
    logbook.master.firstName = QStringLiteral("Erika");
    logbook.master.lastName = QStringLiteral("Muster");
    const auto on = [](const QString &day, const QString &distance, const QString &kind,
                       const QString &deleted = {}) {
        return trip(distance, kind, QStringLiteral("Kunde"), deleted,
                    day + QStringLiteral(" 08:00:00"), day + QStringLiteral(" 09:00:00"));
    };
    const QString business = QStringLiteral("Geschäftlich");
    logbook.trips.append(on(QStringLiteral("30.11.2026"), QStringLiteral("10"), business));
    logbook.trips.append(
        on(QStringLiteral("01.12.2026"), QStringLiteral("30"), QStringLiteral("Privat")));
    logbook.trips.append(
        on(QStringLiteral("02.12.2026"), QStringLiteral("99"), business, QStringLiteral("Ja")));
    logbook.trips.append(on(QStringLiteral("03.12.2026"), QStringLiteral("20,25"), business));

    const RecordingCanvas canvas = printed(logbook);
    ASSERT_EQ(canvas.page, 2);
    EXPECT_EQ(canvas.textsOnPage(2).join(QLatin1Char('|')),
              QStringLiteral("2|Zusammenfassung|Fahrzeug: K-XY 1|Halter: Erika Muster|"
                             "Zeitraum: 30.11.2026 bis 03.12.2026|Kilometerstand Beginn: 1000,0|"
                             "Kilometerstand Ende: 1060,3|"
                             "Monat|Fahrten|Geschäftlich km|Privat km|Gesamt km|Privatanteil|"
                             "November 2026|1|10,0|0,0|10,0|0,0 %|"
                             "Dezember 2026|2|20,3|30,0|50,3|59,7 %|"
                             "Summe|3|30,3|30,0|60,3|49,8 %|Ort, Datum|Unterschrift"));
}

TEST(PrintedLogbook, FinalOdometerNeedsTheEvaluation)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.print.printFinalOdometer = true;
    for (const QString &text : printed(logbook).textsOnPage(1))
        EXPECT_FALSE(text.startsWith(QStringLiteral("Kilometerstand Ende")));
}

RecordingCanvas printedWithRange(QDate from, QDate to)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.print.printDateRange = true;
    logbook.print.rangeFrom = toOleDate(from, QTime(17, 30));
    logbook.print.rangeTo = toOleDate(to, QTime(6, 0));
    logbook.trips.append(trip(
        QStringLiteral("7"), QStringLiteral("Privat"), QStringLiteral("über Mitternacht"),
        QString(), QStringLiteral("30.06.2026 23:00:00"), QStringLiteral("01.07.2026 01:00:00")));
    return printed(logbook);
}

TEST(PrintedLogbook, DateRangeSelectsTripsWhoseDaysOverlapIt)
{
    const auto selects = [](QDate from, QDate to) {
        return bool(printedWithRange(from, to).find(QStringLiteral("über Mitternacht")));
    };
    EXPECT_TRUE(selects(QDate(2026, 7, 1), QDate(2026, 7, 1)));
    EXPECT_TRUE(selects(QDate(2026, 6, 30), QDate(2026, 6, 30)));
    EXPECT_TRUE(selects(QDate(2026, 6, 1), QDate(2026, 7, 31)));
    EXPECT_FALSE(selects(QDate(2026, 7, 2), QDate(2026, 7, 31)));
    EXPECT_FALSE(selects(QDate(2026, 6, 1), QDate(2026, 6, 29)));
}

TEST(PrintedLogbook, FromAfterToSelectsNothingButPrintsTheRange)
{
    const RecordingCanvas canvas = printedWithRange(QDate(2026, 7, 2), QDate(2026, 6, 29));
    EXPECT_FALSE(canvas.find(QStringLiteral("über Mitternacht")));
    const auto range = canvas.find(QStringLiteral("Fahrten vom 02.07.2026 bis 29.06.2026"));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->y, kTitlesY);
    // The range line and its empty line push the titles down by two lines.
    EXPECT_EQ(canvas.find(QStringLiteral("Abfahrtszeit"))->y, kTitlesY + 2 * kTextLine);
}

TEST(PrintedLogbook, EverythingOffPrintsOnePageWithTitlesAndRule)
{
    Logbook logbook;
    logbook.print.printMasterData = false;
    logbook.print.printPrivateTrips = false;
    logbook.print.printBusinessTrips = false;
    logbook.print.printEvaluation = false;
    logbook.print.printFinalOdometer = false;
    logbook.print.heading.clear();
    const RecordingCanvas canvas = printed(logbook);
    EXPECT_EQ(canvas.events, QStringList({QStringLiteral("begin"), QStringLiteral("end")}));
    EXPECT_EQ(canvas.textsOnPage(1),
              QStringList({QStringLiteral("1"), QString(), QStringLiteral("Abfahrtszeit"),
                           QStringLiteral("Abfahrtsort"), QStringLiteral("Ankunftszeit"),
                           QStringLiteral("Ankunftsort"), QStringLiteral("Entfernung"),
                           QStringLiteral("Fahrtzweck"), QStringLiteral("Art"),
                           QStringLiteral("Km Stand")}));
    EXPECT_EQ(canvas.lines.size(), 1);
}

TEST(PrintedLogbook, MasterDataBlockPrintsFilledFieldsAndTheAlwaysLines)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.print.printMasterData = true;
    logbook.master.firstName = QStringLiteral("Anna");
    logbook.master.lastName = QStringLiteral("Weiß");
    logbook.master.town = QStringLiteral(" ");
    logbook.master.registrationNumber = QStringLiteral("K-AB 123");
    logbook.master.startKm = 12345;
    logbook.master.firstRegistration = toOleDate(QDate(2020, 3, 1), QTime(10, 0));
    logbook.master.registration = toOleDate(QDate(2021, 5, 2));
    const RecordingCanvas canvas = printed(logbook);
    const QStringList texts = canvas.textsOnPage(1);
    EXPECT_EQ(
        texts.mid(2, 8),
        QStringList({QStringLiteral("Vorname: Anna"), QStringLiteral("Nachname: Weiß"),
                     QStringLiteral("Ort:  "), QStringLiteral("Fahrzeug Kennezeichen: K-AB 123"),
                     QStringLiteral("Kilometerstand Beginn: 12345"),
                     QStringLiteral("Datum der Erstzulassung: 01.03.2020"),
                     QStringLiteral("Datum der Zulassung: 02.05.2021"),
                     QStringLiteral("Abfahrtszeit")}));
    // Seven lines and an empty one.
    EXPECT_EQ(canvas.find(QStringLiteral("Abfahrtszeit"))->y, kTitlesY + 8 * kTextLine);
}

TEST(PrintedLogbook, WithoutTimesOnlyTheDatesArePrinted)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.print.printTimes = false;
    logbook.trips.append(trip(QStringLiteral("1"), QStringLiteral("Privat"), QString(), QString(),
                              QStringLiteral("01.12.2026 08:00:00"), QStringLiteral("02.12.2026")));
    const QStringList row = textsAt(printed(logbook), 1, kFirstRowY);
    EXPECT_EQ(row.at(0), QStringLiteral("01.12.2026"));
    EXPECT_EQ(row.at(2), QStringLiteral("02.12.2026"));
}

TEST(PrintedLogbook, PageNumberAfterTheHeadingBreakUsesTheHeadingFont)
{
    RecordingCanvas canvas;
    canvas.height = 900; // the two heading lines already cross the limit
    Logbook logbook;
    printTableOnly(logbook);
    printLogbook(logbook, canvas);
    const auto number = canvas.find(QStringLiteral("2"));
    ASSERT_TRUE(number);
    EXPECT_EQ(number->face, QStringLiteral("Arial Black"));
    EXPECT_EQ(number->x, 4960 / 2 - 58 / 2);
    EXPECT_EQ(canvas.find(QStringLiteral("Abfahrtszeit"))->face, QStringLiteral("Arial Narrow"));
    EXPECT_EQ(canvas.find(QStringLiteral("Abfahrtszeit"))->y, kMargin);
}

TEST(PrintedLogbook, ConversionErrorIsFoundBeforeTheJobBegins)
{
    Logbook logbook;
    printTableOnly(logbook);
    logbook.trips.append(trip(QStringLiteral("1")));
    // Excluded from the printout, but its distance still counts.
    logbook.trips.append(trip(QStringLiteral("zwölf"), QStringLiteral("Privat")));
    logbook.print.printPrivateTrips = false;
    RecordingCanvas canvas;
    try {
        printLogbook(logbook, canvas);
        FAIL() << "no error";
    } catch (const ConversionError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'zwölf' is not a valid floating point value"));
    }
    EXPECT_TRUE(canvas.events.isEmpty());
    EXPECT_TRUE(canvas.texts.isEmpty());

    Logbook badDate;
    printTableOnly(badDate);
    badDate.print.printTimes = false;
    badDate.trips.append(trip(QStringLiteral("1"), QStringLiteral("Privat"), QString(), QString(),
                              QStringLiteral("gestern")));
    RecordingCanvas second;
    EXPECT_THROW(printLogbook(badDate, second), ConversionError);
    EXPECT_TRUE(second.events.isEmpty());
}

TEST(PrintedLogbook, FontSizesOutsideWhatPrintsAreRefusedBeforeTheJobNamingTheFont)
{
    const auto refusal = [](int headingPoints, int textPoints) {
        Logbook logbook;
        logbook.trips.append(trip(QStringLiteral("1")));
        logbook.headingFont.sizePoints = headingPoints;
        logbook.textFont.sizePoints = textPoints;
        RecordingCanvas canvas;
        try {
            printLogbook(logbook, canvas);
        } catch (const Error &error) {
            EXPECT_TRUE(canvas.events.isEmpty());
            return error.message();
        }
        EXPECT_EQ(canvas.events.value(0), QStringLiteral("begin"));
        return QString();
    };
    EXPECT_EQ(refusal(2160, 8),
              QStringLiteral("Die Schriftart „Überschrift“ ist 2160 pt groß; gedruckt werden "
                             "Größen von 1 bis 512 pt. Bitte mit „Überschrift Schriftart...“ "
                             "eine andere Größe wählen."));
    EXPECT_TRUE(refusal(14, 0).contains(QStringLiteral("„Text“ ist 0 pt groß")));
    EXPECT_TRUE(refusal(14, -8).contains(QStringLiteral("„Text“ ist -8 pt groß")));
    EXPECT_TRUE(refusal(513, 1).contains(QStringLiteral("„Überschrift“")));
    EXPECT_EQ(refusal(512, 1), QString());
}

TEST(PrintedLogbook, EntryLogEndsThePrintoutOnAPageOfItsOwnWithTheCheckValue)
{
    Logbook logbook;
    printTableOnly(logbook);
    const auto on = [](int day, int hour) {
        return QDateTime(QDate(2026, 12, day), QTime(hour, 0), Qt::UTC);
    };
    applyOperation(logbook, {NewTrip{trip(QStringLiteral("10"))}, on(1, 18)});
    applyOperation(logbook,
                   {NewTrip{trip(QStringLiteral("20"), QStringLiteral("Privat"),
                                 QStringLiteral("Oma"), {}, QStringLiteral("02.12.2026 08:00:00"),
                                 QStringLiteral("02.12.2026 09:00:00"))},
                    on(20, 9)});
    applyOperation(logbook, {ChangeTrip{0, trip(QStringLiteral("12"))}, on(3, 10)});
    MasterData master = logbook.master;
    master.registrationNumber = QStringLiteral("K-XY 1");
    applyOperation(logbook, {SetMasterData{master}, on(4, 11)});
    EntryEvent outside;
    outside.kind = EntryEventKind::OutsideChange;
    outside.when = toOleDate(on(5, 12));
    outside.texts = QStringList{QStringLiteral("das Siegel passt nicht zum Inhalt der Datei")};
    logbook.entryLog.append(outside);
    const auto local = [&](int day, int hour) {
        return localMomentText(toOleDate(on(day, hour)));
    };

    const RecordingCanvas canvas = printed(logbook);
    ASSERT_EQ(canvas.page, 2);
    const QStringList appendix = canvas.textsOnPage(2);
    EXPECT_EQ(appendix.mid(0, 3),
              QStringList({QStringLiteral("2"), QStringLiteral("Änderungsprotokoll"),
                           QStringLiteral("Gelöschte und geänderte Fahrten")}));
    EXPECT_EQ(appendix.join(QLatin1Char(' ')),
              QStringLiteral("2 Änderungsprotokoll Gelöschte und geänderte Fahrten "
                             "Fahrt 1: 01.12.2026 08:00 Köln – Bonn, 10 km, Kunde (Geschäftlich); "
                             "erfasst am %1, geändert am %2 (neue Fassung: Fahrt 2) "
                             "Nachgetragene Fahrten (mehr als 7 Tage nach der Ankunft erfasst) "
                             "Fahrt 3: 02.12.2026 08:00 Köln – Bonn, 20 km, Oma (Privat); "
                             "erfasst am %3, 18 Tage nach der Ankunft "
                             "Stammdaten am %4: Kennzeichen von „“ auf „K-XY 1“ "
                             "Außerhalb des Programms verändert festgestellt am %5: das Siegel "
                             "passt nicht zum Inhalt der Datei "
                             "Prüfwert: %6 Die ersten 16 Stellen des letzten Kettenwerts im "
                             "Änderungsprotokoll der Datei (fahrtenbuch --verify zeigt ihn). "
                             "Achtung: Dieses Fahrtenbuch wurde außerhalb des Programms verändert "
                             "(siehe oben).")
                  .arg(local(1, 18), local(3, 10), local(20, 9), local(4, 11), local(5, 12),
                       logbook.entryLog.checkValue()))
        << appendix.join(QLatin1Char('|')).toStdString();
    // Each line between the margins, broken where it is wider.
    for (const auto &text : canvas.texts) {
        if (text.page == 2 && text.y > kMargin) {
            EXPECT_LE(text.x + canvas.textWidth(text.text), 4960 - kMargin)
                << text.text.toStdString();
        }
    }
}

// A printer that fails on the second page.
class FailingCanvas : public RecordingCanvas {
public:
    void newPage() override { throw Error(QStringLiteral("Druckerfehler")); }
};

TEST(PrintedLogbook, PrinterErrorDuringTheJobAbortsIt)
{
    Logbook logbook;
    printTableOnly(logbook);
    for (int i = 0; i < 200; ++i)
        logbook.trips.append(trip(QStringLiteral("1")));
    FailingCanvas canvas;
    EXPECT_THROW(printLogbook(logbook, canvas), Error);
    EXPECT_EQ(canvas.events, QStringList({QStringLiteral("begin"), QStringLiteral("abort")}));
}

} // namespace
} // namespace fb
