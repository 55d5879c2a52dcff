// Writes a workbook with a mix of texts (umlauts, the euro sign, characters outside the
// 8-bit code page, a text long enough to cross record boundaries, many cells) to the file
// named by the first argument, and the expected cell texts as JSON to the second, for the
// readers that check it.
#include "xls/XLSFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace fb::xls;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s out.xls expected.json\n", argv[0]);
        return 2;
    }
    TXLSFile file;
    TSheet &sheet = file.Workbook().Sheets()[0];
    QJsonArray expected;
    auto put = [&](int row, int col, const QString &text, bool wide) {
        TCell &cell = sheet.Cells(static_cast<std::uint16_t>(row), static_cast<std::uint16_t>(col));
        // Both ways of setting a text, alternating by row.
        if (wide)
            cell.SetValue(CellValue::fromWideString(text));
        else if (row % 2)
            cell.SetText(text);
        else
            cell.SetValue(CellValue::fromText(text));
        expected.append(QJsonArray{row, col, text});
    };

    const QStringList headers = {QStringLiteral("Abfahrtszeit"), QStringLiteral("Abfahrtsort"),
                                 QStringLiteral("Ankunftszeit"), QStringLiteral("Ankunftsort"),
                                 QStringLiteral("Entfernung"),   QStringLiteral("Fahrtzweck"),
                                 QStringLiteral("Art")};
    for (int c = 0; c < headers.size(); ++c)
        put(0, c, headers[c], false);

    const QStringList places = {QStringLiteral("München"), QStringLiteral("Düsseldorf"),
                                QStringLiteral("Gießen"),  QStringLiteral("Köln"),
                                QStringLiteral("Plzeň"),   QStringLiteral("Łódź")};
    const int trips = 3000;
    for (int r = 1; r <= trips; ++r) {
        put(r, 0, QStringLiteral("01.02.2024 %1:00:00").arg(r % 24, 2, 10, QLatin1Char('0')),
            false);
        put(r, 1, places[r % places.size()], false);
        put(r, 2, QStringLiteral("01.02.2024 %1:30:00").arg(r % 24, 2, 10, QLatin1Char('0')),
            false);
        put(r, 3, places[(r + 1) % places.size()] + QString::number(r), false);
        put(r, 4, QStringLiteral("%1,50").arg(r), false);
        put(r, 5,
            r % 7 == 0 ? QStringLiteral("Tanken für 50 € – Quittung")
                       : QStringLiteral("Kunde %1").arg(r),
            false);
        put(r, 6, r % 2 ? QStringLiteral("Geschäftlich") : QStringLiteral("Privat"), false);
        put(r, 7, QString(), false);
        put(r, 8, QString::number(10000 + r), false);
        put(r, 9, QString::number(10010 + r), r % 11 == 0);
    }
    // Long texts that cross the 8224-byte record limit, one 8-bit and one UTF-16.
    QString longText;
    for (int i = 0; longText.size() < 20000; ++i)
        longText += QStringLiteral("Fahrt %1 über Gießen; ").arg(i);
    longText.truncate(20000);
    put(trips + 1, 0, longText, false);
    put(trips + 1, 1, longText + QStringLiteral(" €"), false);
    put(trips + 2, 255, QStringLiteral("letzte Spalte"), true);

    file.SaveAs(QString::fromLocal8Bit(argv[1]));

    QFile json(QString::fromLocal8Bit(argv[2]));
    if (!json.open(QIODevice::WriteOnly))
        return 1;
    json.write(QJsonDocument(QJsonObject{{QStringLiteral("sheet"), sheet.Name()},
                                         {QStringLiteral("cells"), expected}})
                   .toJson());
    return 0;
}
