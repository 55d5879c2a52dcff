#include "sample_logbook.h"

#include "checks/evaluation.h"
#include "print/logbook_printer.h"
#include "print/pdf_output.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace fb;

namespace {

// Measures nothing and draws nothing: what is left is the layout's own cost.
class NullCanvas : public PageCanvas {
public:
    void setJobTitle(const QString &) override {}
    void beginJob() override {}
    void newPage() override { ++pages; }
    void endJob() override {}
    void abortJob() noexcept override {}
    int pageWidth() const override { return 4960; }
    int pageHeight() const override { return 7016; }
    int horizontalResolution() const override { return 600; }
    void selectFont(const PrintFont &font) override { m_height = font.sizePoints * 600 / 72; }
    void textOut(int, int, const QString &text) override { benchmark::DoNotOptimize(text); }
    int textWidth(const QString &text) const override { return int(text.size()) * m_height / 2; }
    int textHeight(const QString &) const override { return m_height; }
    void setPenWidth(int) override {}
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}

    int pages = 1;

private:
    int m_height = 1;
};

void BM_EvaluateTrips(benchmark::State &state)
{
    Logbook logbook;
    bench::fillTrips(logbook, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(evaluationLines(evaluateTrips(logbook.trips)));
    state.counters["trips"] = double(state.range(0));
}
BENCHMARK(BM_EvaluateTrips)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_PrintLayout(benchmark::State &state)
{
    Logbook logbook;
    bench::fillTrips(logbook, int(state.range(0)));
    int pages = 0;
    for (auto _ : state) {
        NullCanvas canvas;
        printLogbook(logbook, canvas);
        pages = canvas.pages;
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintLayout)->Arg(10'000)->Unit(benchmark::kMillisecond);

// One trip whose purpose is a single word of the given length: every line of its cell is
// broken inside the word, and the printout runs over hundreds of pages.
void BM_PrintLongCellToPdf(benchmark::State &state)
{
    Logbook logbook;
    const QString purpose(qsizetype(state.range(0)), QLatin1Char('x'));
    logbook.trips.append(
        Row{QStringLiteral("07.12.2026 08:00:00"),
            {QStringLiteral("Köln"), QStringLiteral("07.12.2026 09:00:00"), QStringLiteral("Bonn"),
             QStringLiteral("30"), purpose, QStringLiteral("Geschäftlich")}});
    const QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lang.pdf"));
    for (auto _ : state)
        printLogbookToPdf(logbook, pdf, QString());
    state.counters["characters"] = double(state.range(0));
}
BENCHMARK(BM_PrintLongCellToPdf)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Printing needs fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
