#include "TextReader.h"

#include "xls/XLSFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb::xls;
using namespace fb::xls::test;

namespace {

// Characters outside the basic plane: each is a surrogate pair in UTF-16.
const QString kCar = QStringLiteral("\U0001F697");
const QString kSmile = QStringLiteral("\U0001F600");
const QString kClef = QStringLiteral("\U0001D11E");

QString repeated(const QStringList &pieces, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += pieces[i % pieces.size()];
    return text;
}

// Saves the texts into column A, one row each, as the export stores them.
void save(const QString &path, const std::vector<QString> &texts)
{
    TXLSFile file;
    TSheet &sheet = file.Workbook().Sheets()[0];
    for (std::size_t r = 0; r < texts.size(); ++r)
        sheet.Cells(static_cast<std::uint16_t>(r), 0).SetText(texts[r]);
    file.SaveAs(path);
}

std::vector<TextCell> columnA(const std::vector<QString> &texts)
{
    std::vector<TextCell> cells;
    for (std::size_t r = 0; r < texts.size(); ++r)
        cells.push_back({static_cast<std::uint16_t>(r), 0, texts[r]});
    return cells;
}

// Column A of the first sheet of each file, read by xlrd, a reader nobody here wrote. It
// decodes each record's piece of a string on its own, so a surrogate pair cut by a record
// end makes it fail.
std::vector<QStringList> readColumnAWithXlrd(const QStringList &paths)
{
    const QString script =
        QStringLiteral("import json, sys, xlrd\n"
                       "out = []\n"
                       "for path in sys.argv[1:]:\n"
                       "    try:\n"
                       "        sheet = xlrd.open_workbook(path).sheet_by_index(0)\n"
                       "        out.append([sheet.cell_value(r, 0) for r in range(sheet.nrows)])\n"
                       "    except Exception as e:\n"
                       "        out.append(['xlrd failed: %r' % e])\n"
                       "print(json.dumps(out))\n");
    QProcess python;
    python.start(QStringLiteral(XLS_CHECK_PYTHON),
                 QStringList{QStringLiteral("-c"), script} + paths);
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        ADD_FAILURE() << "xlrd did not run: " << python.readAllStandardError().toStdString();
        return {};
    }
    std::vector<QStringList> files;
    for (const QJsonValue &file : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList texts;
        for (const QJsonValue &cell : file.toArray())
            texts.append(cell.toString());
        files.push_back(texts);
    }
    return files;
}

// Workbooks whose texts put a record end at every position of a run of surrogate pairs:
// an 8-bit text of growing length shifts the following texts byte by byte past the end of
// the first record; a long text of pairs, with and without a leading character, crosses
// the ends of CONTINUE records at both alignments.
std::vector<std::vector<QString>> workbooksAroundRecordEnds()
{
    std::vector<std::vector<QString>> workbooks;
    const QString pairs = repeated({kCar, kSmile, kClef}, 40);
    for (int filler = 8040; filler <= 8216; ++filler) {
        workbooks.push_back({QString(filler, QLatin1Char('x')), pairs, QStringLiteral("danach")});
        workbooks.push_back({QString(filler, QLatin1Char('x')), QStringLiteral("\u00FC") + pairs,
                             QStringLiteral("\u20AC") + pairs + QStringLiteral("\u00E4")});
    }
    const QString longPairs = repeated({kCar, kClef}, 12000); // 24000 units, five records
    workbooks.push_back({longPairs, QStringLiteral("danach")});
    workbooks.push_back({QStringLiteral("a") + longPairs, QStringLiteral("danach")});
    workbooks.push_back({QString(3000, QChar(0x4E2D)), longPairs, QStringLiteral("a") + longPairs});
    return workbooks;
}

TEST(SurrogatePairs, TextsReadBackWithOurReaderWhereverARecordEnds)
{
    QTemporaryDir dir;
    const auto workbooks = workbooksAroundRecordEnds();
    for (std::size_t i = 0; i < workbooks.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("pairs%1.xls").arg(i));
        save(path, workbooks[i]);
        try {
            EXPECT_TRUE(readWorkbookTextsFromFile(path).cells == columnA(workbooks[i]))
                << "workbook " << i << " reads back other texts";
        } catch (const MalformedStream &e) {
            ADD_FAILURE() << "workbook " << i << ": " << e.what();
        }
    }
}

TEST(SurrogatePairs, XlrdOpensTextsWithPairsWhereverARecordEnds)
{
    QTemporaryDir dir;
    const auto workbooks = workbooksAroundRecordEnds();
    QStringList paths;
    for (std::size_t i = 0; i < workbooks.size(); ++i) {
        paths.append(dir.filePath(QStringLiteral("pairs%1.xls").arg(i)));
        save(paths.back(), workbooks[i]);
    }
    const std::vector<QStringList> read = readColumnAWithXlrd(paths);
    ASSERT_EQ(read.size(), workbooks.size());
    for (std::size_t i = 0; i < workbooks.size(); ++i) {
        const QStringList expected(workbooks[i].begin(), workbooks[i].end());
        EXPECT_TRUE(read[i] == expected)
            << "workbook " << i << ": " << read[i].value(0).left(100).toStdString();
    }
}

TEST(SurrogatePairs, LoneSurrogatesAreKeptAsTheyAre)
{
    // Unpaired halves are not characters, but a cell may hold them; they must come back
    // unchanged, also where a record ends right after a high surrogate.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lone.xls"));
    std::vector<QString> texts;
    for (int filler = 8200; filler <= 8216; ++filler) {
        texts = {QString(filler, QLatin1Char('x')),
                 QString(20, QChar(0xD83D)) + QChar(0xDE97) + QString(20, QChar(0xDC00))};
        save(path, texts);
        EXPECT_TRUE(readWorkbookTextsFromFile(path).cells == columnA(texts)) << filler;
    }
}

} // namespace
