// Filling and saving a full sheet: 65,535 rows of ten mostly distinct 8-bit texts, the
// most a logbook export can write.
#include "xls/XLSFile.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

using namespace fb::xls;

namespace {

constexpr int kRows = 65535;
constexpr int kCols = 10;

// Texts as an export holds them: times, places with umlauts, numbers, a kind, an empty mark.
QByteArray cellText(int row, int col)
{
    static const std::array<QByteArray, 5> places = {"M\xFCnchen", "D\xFCsseldorf",
                                                     "Gie\xDF"
                                                     "en",
                                                     "K\xF6ln",
                                                     "Stra\xDF"
                                                     "burg"};
    switch (col) {
    case 0:
    case 2:
        return "0" + QByteArray::number(1 + row % 9) + ".03.2024 " + QByteArray::number(row % 24) +
               ":" + QByteArray::number(10 + col) + ":00";
    case 1:
    case 3:
        return places[static_cast<std::size_t>((row + col) % 5)] + " " + QByteArray::number(row);
    case 5:
        return "Kundenbesuch Nr. " + QByteArray::number(row * 7);
    case 6:
        return row % 3 ? "Gesch\xE4"
                         "ftlich"
                       : "Privat";
    case 7:
        return {};
    default:
        return QByteArray::number(row * 10 + col) + ",00";
    }
}

// The texts exist before the export, in the logbook; only their conversion for the cells
// belongs to the measured work.
const std::vector<QString> &texts()
{
    static const std::vector<QString> all = [] {
        std::vector<QString> t;
        t.reserve(std::size_t(kRows) * kCols);
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kCols; ++c)
                t.push_back(QString::fromLatin1(cellText(r, c)));
        }
        return t;
    }();
    return all;
}

enum class Setter { Text, Value };

void fill(TXLSFile &file, Setter setter = Setter::Text)
{
    TSheet &sheet = file.Workbook().Sheets()[0];
    const std::vector<QString> &all = texts();
    std::size_t i = 0;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            TCell &cell = sheet.Cells(static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c));
            if (setter == Setter::Text)
                cell.SetText(all[i++]);
            else
                cell.SetValue(CellValue::fromText(all[i++]));
        }
    }
}

void BM_FillSheet(benchmark::State &state)
{
    texts();
    const auto setter = static_cast<Setter>(state.range(0));
    for (auto _ : state) {
        TXLSFile file;
        fill(file, setter);
        benchmark::DoNotOptimize(file.Workbook().Sheets()[0].Cells().Count());
    }
    state.counters["cells"] = kRows * kCols;
}
// 0: TCell::SetText, 1: SetValue(CellValue::fromText(...)).
BENCHMARK(BM_FillSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SaveAs(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xls"));
    TXLSFile file;
    fill(file);
    for (auto _ : state)
        file.SaveAs(path);
    state.counters["cells"] = kRows * kCols;
}
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond);

void BM_FillAndSaveAs(benchmark::State &state)
{
    texts();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xls"));
    for (auto _ : state) {
        TXLSFile file;
        fill(file);
        file.SaveAs(path);
    }
    state.counters["cells"] = kRows * kCols;
}
BENCHMARK(BM_FillAndSaveAs)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
