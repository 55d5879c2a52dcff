#include "trip_export.h"

#include "core/error.h"
#include "core/file_error.h"
#include "core/write_target.h"
#include "model/trip_columns.h"
#include "xls/XLSFile.h"

#include <QStringList>

namespace fb {
namespace {

// Only the first seven columns have a title; the kind column is titled "Art" in the sheet.
QStringList headerTexts()
{
    return {QStringLiteral("Abfahrtszeit"), QStringLiteral("Abfahrtsort"),
            QStringLiteral("Ankunftszeit"), QStringLiteral("Ankunftsort"),
            QStringLiteral("Entfernung"),   QStringLiteral("Fahrtzweck"),
            QStringLiteral("Art")};
}

bool isLoneSurrogateAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

// Half of a surrogate pair is no character, and readers that decode the sheet's texts
// strictly refuse the whole file over one. Only a damaged logbook holds such a half: the
// sheet gets U+FFFD in its place, and the logbook keeps its text as it is.
QString exportedText(const QString &text)
{
    QString result = text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLoneSurrogateAt(text, i))
            result[i] = QChar::ReplacementCharacter;
    }
    return result;
}

bool holdsLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSurrogate() && isLoneSurrogateAt(text, i))
            return true;
    }
    return false;
}

// The cell refers to the trip's own text, which stays unchanged until the sheet is written:
// a large export then keeps no second copy of its texts. A text that must be mended first is
// copied.
void putText(xls::TCell &cell, const QString &text)
{
    if (holdsLoneSurrogate(text))
        cell.SetText(exportedText(text));
    else
        cell.ReferText(text);
}

// A row with fewer than seven sub-items has no deleted column and is always exported.
bool isSkipped(const Row &trip)
{
    return trip.subItems.size() > TripSubItem::Deleted && isDeleted(trip);
}

} // namespace

void exportTripsToXls(const RowTable &trips, const QString &fileName)
{
    if (const int refusal = writeTargetRefusal(fileName))
        throw FileError(refusal);
    qsizetype liveTrips = 0;
    for (const Row &trip : trips.rows())
        liveTrips += isSkipped(trip) ? 0 : 1;
    if (liveTrips > kMaxExportedTrips) {
        throw Error(QStringLiteral("Zu viele Fahrten für den Export: %1 Fahrten, ein "
                                   "Tabellenblatt fasst höchstens %2.")
                        .arg(liveTrips)
                        .arg(kMaxExportedTrips));
    }

    xls::TXLSFile file;
    xls::TSheet &sheet = file.Workbook().Sheets()[0];
    // Filled row by row, column by column, the sheet finds its cells without a lookup index.
    const QStringList header = headerTexts();
    for (qsizetype column = 0; column < header.size(); ++column)
        sheet.Cells(0, static_cast<std::uint16_t>(column)).SetText(header.at(column));

    // Texts go in as the list shows them, numbers and dates included. A text that Windows-1252
    // cannot hold is stored as wide text instead of losing characters to "?".
    std::uint16_t row = 1;
    for (const Row &trip : trips.rows()) {
        if (isSkipped(trip))
            continue;
        putText(sheet.Cells(row, 0), trip.caption);
        for (qsizetype i = 0; i < trip.subItems.size(); ++i) {
            // Columns past 255 raise the writer's "Invalid row or column number".
            const qsizetype column = i + 1;
            putText(sheet.Cells(row, column > 0xFFFF ? 0xFFFF : static_cast<std::uint16_t>(column)),
                    trip.subItems.at(i));
        }
        ++row;
    }
    file.SaveAs(fileName);
}

} // namespace fb
