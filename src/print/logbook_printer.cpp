#include "logbook_printer.h"

#include "checks/entry_log_report.h"
#include "checks/evaluation.h"
#include "core/error.h"
#include "core/ole_date.h"
#include "model/text_forms.h"
#include "model/trip_columns.h"
#include "print_selection.h"
#include "summary_tally.h"
#include "text_wrap.h"

#include <algorithm>
#include <array>
#include <limits>

namespace fb {
namespace {

constexpr double kMillimetresPerInch = 25.39995;
constexpr double kMarginMillimetres = 15.0;
constexpr double kPenMillimetres = 0.5;
// Keeps a text that fills its column apart from the next column's text.
constexpr double kColumnGapMillimetres = 1.0;

PrintFont struckOut(PrintFont font)
{
    font.style = quint8(font.style | PrintFont::StrikeOut);
    return font;
}

QString shortDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString shortDate(double oleDate)
{
    return shortDate(fromOleDate(oleDate).date());
}

// Device coordinates are 32-bit; a purpose of absurdly many lines must not wrap around.
int toCoordinate(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

// Ends the job when the run got through, aborts it on every other way out.
class JobGuard {
public:
    explicit JobGuard(PageCanvas &canvas) : m_canvas(canvas) { m_canvas.beginJob(); }
    ~JobGuard()
    {
        if (!m_ended)
            m_canvas.abortJob();
    }
    JobGuard(const JobGuard &) = delete;
    JobGuard &operator=(const JobGuard &) = delete;

    void end()
    {
        m_ended = true;
        m_canvas.endJob();
    }

private:
    PageCanvas &m_canvas;
    bool m_ended = false;
};

// The x positions of the trip table, from the column unit u.
struct TableColumns {
    TableColumns(int margin, int pageWidth)
    {
        const int u = (pageWidth - 2 * margin) / 7;
        const auto at = [&](double units) {
            return margin + static_cast<int>(units * u - 0.8);
        };
        departure = margin;
        departurePlace = margin + u;
        arrival = margin + 2 * u;
        arrivalPlace = margin + 3 * u;
        distanceTitle = at(4.1);
        distanceRight = at(4.6);
        purpose = at(4.7);
        kind = at(6.3);
        readingRight = at(7.3);
        // The rules reach past the right margin to the end of the reading column.
        ruleEnd = static_cast<int>(std::max(double(pageWidth - margin), margin + 7.3 * u - 0.8));
    }

    int departure, departurePlace, arrival, arrivalPlace;
    int distanceTitle, distanceRight, purpose, kind, readingRight;
    int ruleEnd;
};

// Draws nothing, with metrics of a sort: a run on it meets every text the real run converts,
// in the same order.
class DryRunCanvas : public PageCanvas {
public:
    explicit DryRunCanvas(int resolution) : m_resolution(resolution) {}
    void setJobTitle(const QString &) override {}
    void beginJob() override {}
    void newPage() override {}
    void endJob() override {}
    void abortJob() noexcept override {}
    int pageWidth() const override { return 8 * m_resolution; }
    int pageHeight() const override { return 11 * m_resolution; }
    int horizontalResolution() const override { return m_resolution; }
    void selectFont(const PrintFont &) override {}
    void textOut(int, int, const QString &) override {}
    int textWidth(const QString &text) const override { return int(text.size()); }
    int textHeight(const QString &) const override { return m_resolution / 6; }
    void setPenWidth(int) override {}
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}

private:
    int m_resolution;
};

class PrintRun {
public:
    PrintRun(const Logbook &logbook, PageCanvas &canvas)
        : m_logbook(logbook), m_settings(logbook.print), m_canvas(canvas), m_selection(m_settings)
    {}

    void run(int resolution)
    {
        m_canvas.setJobTitle(QStringLiteral("Fahrtenbuch"));
        JobGuard job(m_canvas);
        m_margin = millimetresToPixels(kMarginMillimetres, resolution);
        m_penWidth = millimetresToPixels(kPenMillimetres, resolution);
        m_columnGap = millimetresToPixels(kColumnGapMillimetres, resolution);
        m_pageWidth = m_canvas.pageWidth();
        m_pageHeight = m_canvas.pageHeight();
        m_cursor = m_margin;
        m_reading = m_logbook.master.startKm;

        select(m_logbook.textFont);
        printPageHeader();

        select(m_logbook.headingFont);
        m_canvas.textOut(m_margin, toCoordinate(m_cursor), m_settings.heading);
        advance(2);
        select(m_logbook.textFont);

        if (m_settings.printDateRange) {
            m_canvas.textOut(m_margin, toCoordinate(m_cursor),
                             QStringLiteral("Fahrten vom ") + shortDate(m_settings.rangeFrom) +
                                 QStringLiteral(" bis ") + shortDate(m_settings.rangeTo));
            advance(2);
        }
        if (m_settings.printMasterData)
            printMasterData();
        printTripTable();
        // The summary the advisor signs goes with the evaluation: a printout without it (a
        // page of trips for the glovebox, say) stays as it always was.
        if (m_settings.printEvaluation) {
            printEvaluation();
            printSummaryPage();
        }
        if (!m_logbook.entryLog.isEmpty())
            printEntryLogAppendix();
        job.end();
    }

private:
    void select(const PrintFont &font) { m_canvas.selectFont(font); }

    int lineHeight() const { return m_canvas.textHeight(QStringLiteral(" ")); }

    // Moves the cursor down by lines of the selected font; past the bottom margin the next
    // page begins. Only the cursor after the move is looked at.
    void advance(int lines)
    {
        m_cursor += qint64(lines) * lineHeight();
        checkPage();
    }

    void checkPage()
    {
        if (m_cursor > m_pageHeight - m_margin)
            breakPage();
    }

    void breakPage()
    {
        m_canvas.newPage();
        ++m_pageNumber;
        printPageHeader();
        m_cursor = m_margin;
    }

    // The page number, centred, in the font selected at the moment (the heading font right
    // after the heading); the text font afterwards.
    void printPageHeader()
    {
        const QString number = QString::number(m_pageNumber);
        m_canvas.textOut(m_pageWidth / 2 - m_canvas.textWidth(number) / 2, m_margin / 2, number);
        select(m_logbook.textFont);
    }

    void printLine(const QString &text)
    {
        m_canvas.textOut(m_margin, toCoordinate(m_cursor), text);
        advance(1);
    }

    void printMasterData()
    {
        const MasterData &master = m_logbook.master;
        const auto optional = [this](const QString &label, const QString &value) {
            if (!value.isEmpty())
                printLine(label + value);
        };
        optional(QStringLiteral("Firma: "), master.company);
        optional(QStringLiteral("Vorname: "), master.firstName);
        optional(QStringLiteral("Nachname: "), master.lastName);
        optional(QStringLiteral("Straße: "), master.street);
        optional(QStringLiteral("PLZ: "), master.postcode);
        optional(QStringLiteral("Ort: "), master.town);
        optional(QStringLiteral("Land: "), master.country);
        optional(QStringLiteral("Telefon: "), master.telephone);
        optional(QStringLiteral("Fahrzeug Kennezeichen: "), master.registrationNumber);
        printLine(QStringLiteral("Kilometerstand Beginn: ") + QString::number(master.startKm));
        printLine(QStringLiteral("Datum der Erstzulassung: ") +
                  shortDate(master.firstRegistration));
        optional(QStringLiteral("Zulassungsbehörde: "), master.registrationAuthority);
        printLine(QStringLiteral("Datum der Zulassung: ") + shortDate(master.registration));
        advance(1);
    }

    void textRightAligned(int rightEdge, int y, const QString &text)
    {
        m_canvas.textOut(rightEdge - m_canvas.textWidth(text), y, text);
    }

    void drawRule(qint64 y)
    {
        const int lineY = toCoordinate(y);
        m_canvas.moveTo(m_margin, lineY);
        m_canvas.lineTo(m_columns.ruleEnd, lineY);
    }

    void printTripTable()
    {
        m_columns = TableColumns(m_margin, m_pageWidth);
        const int y = toCoordinate(m_cursor);
        m_canvas.textOut(m_columns.departure, y, QStringLiteral("Abfahrtszeit"));
        m_canvas.textOut(m_columns.departurePlace, y, QStringLiteral("Abfahrtsort"));
        m_canvas.textOut(m_columns.arrival, y, QStringLiteral("Ankunftszeit"));
        m_canvas.textOut(m_columns.arrivalPlace, y, QStringLiteral("Ankunftsort"));
        m_canvas.textOut(m_columns.distanceTitle, y, QStringLiteral("Entfernung"));
        m_canvas.textOut(m_columns.purpose, y, QStringLiteral("Fahrtzweck"));
        m_canvas.textOut(m_columns.kind, y, QStringLiteral("Art"));
        textRightAligned(m_columns.readingRight, y, QStringLiteral("Km Stand"));
        advance(1);
        m_canvas.setPenWidth(m_penWidth);
        drawRule(m_cursor);
        m_cursor += lineHeight();

        for (const Row &trip : m_logbook.trips.rows())
            m_printedRows.push_back(printTrip(trip));
    }

    QString momentText(const QString &stored) const
    {
        if (m_settings.printTimes)
            return stored;
        return shortDate(parseDateTimeText(stored).date());
    }

    // One column of a trip row: where its lines begin, and its lines from the top.
    struct Cell {
        int x;
        QStringList lines;
    };

    // A text in its column, broken into lines that end before nextColumnX: at its line breaks
    // and then wherever it is wider than the room, so that it never runs into the next
    // column. Only the purpose may have no line at all.
    Cell wrappedCell(int x, int nextColumnX, const QString &text, bool mayBeEmpty = false) const
    {
        const int room = std::max(nextColumnX - m_columnGap - x, 1);
        const auto textWidth = [this](const QString &line) {
            return m_canvas.textWidth(line);
        };
        Cell cell{x, {}};
        for (const QString &line : purposeLines(text))
            cell.lines.append(wrapLine(line, room, textWidth));
        if (cell.lines.isEmpty() && !mayBeEmpty)
            cell.lines.append(text);
        return cell;
    }

    Cell rightAlignedCell(int rightEdge, const QString &text) const
    {
        return Cell{rightEdge - m_canvas.textWidth(text), {text}};
    }

    // Returns whether the trip was printed.
    bool printTrip(const Row &trip)
    {
        const bool selected = m_selection.selects(trip);
        const bool deleted = isDeleted(trip);
        if (!deleted) {
            // Every live trip moves the reading on, also the ones the selection leaves out.
            const double distance = parseNumberText(trip.subItem(TripSubItem::Distance));
            m_reading += distance;
            m_totalDistance += distance;
            if (selected) {
                m_evaluation.add(trip, distance);
                m_summary.add(trip, distance, m_reading - distance, m_reading);
            }
        }
        if (!selected)
            return false;

        const TableColumns &at = m_columns;
        // The numbers are never broken; the texts left of them end where they begin.
        const Cell distance =
            rightAlignedCell(at.distanceRight, trip.subItem(TripSubItem::Distance));
        const Cell reading = rightAlignedCell(at.readingRight, formatKilometres(m_reading, 1));
        const std::array<Cell, 8> cells = {
            wrappedCell(at.departure, at.departurePlace, momentText(trip.caption)),
            wrappedCell(at.departurePlace, at.arrival, trip.subItem(TripSubItem::DeparturePlace)),
            wrappedCell(at.arrival, at.arrivalPlace,
                        momentText(trip.subItem(TripSubItem::ArrivalTime))),
            wrappedCell(at.arrivalPlace, distance.x, trip.subItem(TripSubItem::ArrivalPlace)),
            distance,
            wrappedCell(at.purpose, at.kind, trip.subItem(TripSubItem::Purpose), true),
            wrappedCell(at.kind, reading.x, trip.subItem(TripSubItem::Kind)),
            reading,
        };
        qsizetype lineCount = 1;
        for (const Cell &cell : cells)
            lineCount = std::max(lineCount, cell.lines.size());

        const qint64 lineHeight = this->lineHeight();
        const qint64 rowHeight = lineCount * lineHeight;
        // A row whose last line would end below the paper goes to the next page whole,
        // unless it already stands at the top of one.
        if (m_cursor + rowHeight > m_pageHeight && m_cursor > m_margin)
            breakPage();

        // Every text of a deleted trip is struck through in its font, line by line and as far
        // as the text reaches: one line across the row would miss the lower lines of a wrapped
        // row, or cross them anywhere but through their letters.
        const PrintFont rowFont = deleted ? struckOut(m_logbook.textFont) : m_logbook.textFont;
        if (deleted)
            select(rowFont);
        // Only a row longer than a whole page is carried over to the next pages, line by
        // line, so that none of its lines is printed off the paper.
        qint64 lineY = m_cursor;
        for (qsizetype k = 0; k < lineCount; ++k) {
            if (k > 0 && lineY + lineHeight > m_pageHeight) {
                // The page number is never struck out.
                select(m_logbook.textFont);
                breakPage();
                select(rowFont);
                lineY = m_cursor;
            }
            for (const Cell &cell : cells) {
                if (k < cell.lines.size())
                    m_canvas.textOut(cell.x, toCoordinate(lineY), cell.lines.at(k));
            }
            lineY += lineHeight;
        }
        if (deleted)
            select(m_logbook.textFont);
        m_cursor = lineY;
        checkPage();
        return true;
    }

    void printEvaluation()
    {
        advance(1);
        for (const QString &line : printedEvaluationLines(m_evaluation))
            printLine(line);
        if (m_settings.printFinalOdometer) {
            advance(1);
            printLine(QStringLiteral("Kilometerstand Ende: ") +
                      formatKilometres(m_logbook.master.startKm + m_totalDistance, 1));
        }
    }

    // The totals by month on a page of their own, for the tax advisor to sign: what the
    // evaluation says, broken down as an advisor needs it, with the period and the readings.
    void printSummaryPage()
    {
        if (m_cursor > m_margin)
            breakPage();
        select(m_logbook.headingFont);
        printLine(QStringLiteral("Zusammenfassung"));
        select(m_logbook.textFont);
        advance(1);
        for (const QString &line : m_summary.headLines(m_logbook.master, m_logbook.master.startKm))
            printWrapped(line);
        advance(1);
        const int width = m_pageWidth - 2 * m_margin;
        // The month's name at the margin, the figures right-aligned in five equal columns.
        const auto printColumns = [&](const QString &label, const QStringList &figures) {
            const int y = toCoordinate(m_cursor);
            m_canvas.textOut(m_margin, y, label);
            for (qsizetype i = 0; i < figures.size(); ++i)
                textRightAligned(m_margin + int(width * (0.4 + 0.12 * double(i + 1))), y,
                                 figures.at(i));
            advance(1);
        };
        const QStringList titles = SummaryTally::tableTitles();
        printColumns(titles.first(), titles.mid(1));
        const QList<SummaryTally::Line> lines = m_summary.tableLines();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i + 1 == lines.size()) {
                m_canvas.setPenWidth(m_penWidth);
                m_canvas.moveTo(m_margin, toCoordinate(m_cursor));
                m_canvas.lineTo(m_margin + width, toCoordinate(m_cursor));
            }
            printColumns(lines.at(i).label, lines.at(i).figures);
        }
        printSignatureLines(width);
    }

    // Two lines to sign on, each with its caption below it.
    void printSignatureLines(int width)
    {
        advance(4);
        const int y = toCoordinate(m_cursor);
        const int signatureX = m_margin + width * 11 / 20;
        m_canvas.setPenWidth(m_penWidth);
        m_canvas.moveTo(m_margin, y);
        m_canvas.lineTo(m_margin + width * 9 / 20, y);
        m_canvas.moveTo(signatureX, y);
        m_canvas.lineTo(m_margin + width, y);
        m_cursor += m_penWidth;
        m_canvas.textOut(m_margin, toCoordinate(m_cursor), QStringLiteral("Ort, Datum"));
        m_canvas.textOut(signatureX, toCoordinate(m_cursor), QStringLiteral("Unterschrift"));
        advance(1);
    }

    // The entry log on a page of its own after everything else: what was deleted, changed and
    // entered late, master data and outside changes, and the check value that ties the paper
    // to the file.
    void printEntryLogAppendix()
    {
        const QList<AppendixSection> sections = protocolAppendix(m_logbook, [this](qsizetype row) {
            return row < qsizetype(m_printedRows.size()) && m_printedRows[std::size_t(row)];
        });
        // On a page of its own, but not after an empty one that the last line just began.
        if (m_cursor > m_margin)
            breakPage();
        printWrapped(QStringLiteral("Änderungsprotokoll"));
        advance(1);
        for (const AppendixSection &section : sections) {
            printWrapped(section.title);
            for (const QString &line : section.lines)
                printWrapped(line);
            advance(1);
        }
    }

    // A line of text across the width between the margins, broken where it is wider.
    void printWrapped(const QString &text)
    {
        const int room = std::max(m_pageWidth - 2 * m_margin, 1);
        const auto textWidth = [this](const QString &line) {
            return m_canvas.textWidth(line);
        };
        for (const QString &line : wrapLine(text, room, textWidth))
            printLine(line);
    }

    const Logbook &m_logbook;
    const PrintSettings &m_settings;
    PageCanvas &m_canvas;
    const PrintSelection m_selection;

    int m_margin = 0;
    int m_penWidth = 0;
    int m_columnGap = 0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    int m_pageNumber = 1;
    qint64 m_cursor = 0;
    TableColumns m_columns{0, 0};
    double m_reading = 0;
    double m_totalDistance = 0;
    Evaluation m_evaluation;
    SummaryTally m_summary;
    std::vector<bool> m_printedRows;
};

} // namespace

void checkPrintFonts(const Logbook &logbook)
{
    // Far outside these sizes Qt's text metrics overflow and the pages come out empty or
    // garbled while the job reports success.
    const auto check = [](const PrintFont &font, const QString &name) {
        if (font.sizePoints < kSmallestFontPoints || font.sizePoints > kLargestFontPoints) {
            throw Error(QStringLiteral("Die Schriftart „%1“ ist %2 pt groß; gedruckt werden "
                                       "Größen von %3 bis %4 pt. Bitte mit „%1 "
                                       "Schriftart...“ eine andere Größe wählen.")
                            .arg(name)
                            .arg(font.sizePoints)
                            .arg(kSmallestFontPoints)
                            .arg(kLargestFontPoints));
        }
    };
    check(logbook.headingFont, QStringLiteral("Überschrift"));
    check(logbook.textFont, QStringLiteral("Text"));
}

void printLogbook(const Logbook &logbook, PageCanvas &canvas)
{
    checkPrintFonts(logbook);
    const int resolution = canvas.horizontalResolution();
    // A text that does not convert is found before the job begins: a printer cannot always
    // take back a begun job, and half a logbook on paper helps nobody.
    {
        DryRunCanvas dryRun(resolution);
        PrintRun(logbook, dryRun).run(resolution);
    }
    PrintRun(logbook, canvas).run(resolution);
}

QStringList purposeLines(const QString &purpose)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = purpose.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = purpose.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(purpose.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && purpose.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(purpose.mid(start));
    return lines;
}

int millimetresToPixels(double millimetres, int pixelsPerInch)
{
    return static_cast<int>(millimetres / kMillimetresPerInch * pixelsPerInch);
}

} // namespace fb
