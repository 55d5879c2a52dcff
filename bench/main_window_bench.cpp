// The main window with a logbook of 100,000 trips: opening it from the command line until the
// list is shown, adding one trip (recovery journal included), and scrolling from top to bottom with
// the keyboard; and the print preview of 10,000 trips beside an empty window's start.
#include "saved_logbook.h"

#include "storage/logbook_document.h"
#include "ui/dialogs/drucken_form.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/dialogs/page_view.h"
#include "ui/dialogs/print_preview_dialog.h"
#include "ui/fields/number_field.h"
#include "ui/list/trip_list_view.h"
#include "ui/window/main_form.h"
#include "ui/window/prompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

using namespace fb;

namespace {

constexpr int kTrips = 100'000;

// CPU time of this thread: on a shared machine the wall clock also counts other programs.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Confirms every trip dialog with a short trip and the print options as they are; shows the
// print preview until its first page is painted and closes it. Asks nothing else.
class ConfirmingPrompts : public Prompts {
public:
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &) override
    {
        return QMessageBox::No;
    }
    QMessageBox::StandardButton askYesNo(QWidget *, const QString &, const QString &text,
                                         QMessageBox::StandardButton) override
    {
        qFatal("%s", qPrintable(text));
    }
    QString askText(QWidget *, const QString &, const QString &label, const QString &) override
    {
        qFatal("unexpected input: %s", qPrintable(label));
    }
    void inputError(QWidget *, const QString &text) override { qFatal("%s", qPrintable(text)); }
    void stopMessage(QWidget *, const QString &, const QString &text) override
    {
        qFatal("%s", qPrintable(text));
    }
    QString openFileName(QWidget *, const FileKind &) override { return QString(); }
    QString saveFileName(QWidget *, const FileKind &) override { return QString(); }
    QString folderName(QWidget *, const QString &, const QString &) override { return QString(); }
    int showModal(QDialog &dialog) override
    {
        if (auto *options = dynamic_cast<TDruckenForm *>(&dialog)) {
            confirmed.start();
            options->findChild<QPushButton *>(QStringLiteral("OkBtn"))->click();
            return options->result();
        }
        if (auto *preview = dynamic_cast<PrintPreviewDialog *>(&dialog)) {
            preview->show();
            if (!QTest::qWaitForWindowExposed(preview))
                qFatal("the preview was not shown");
            preview->pageView().viewport()->repaint();
            firstPageMs = double(confirmed.nsecsElapsed()) / 1e6;
            if (!QTest::qWaitFor([preview] { return preview->hasAllPages(); }))
                qFatal("the preview's pages were not all laid out");
            allPagesMs = double(confirmed.nsecsElapsed()) / 1e6;
            previewPages = preview->pageView().pageCount();
            return QDialog::Rejected;
        }
        auto &fahrt = static_cast<TFahrtForm &>(dialog);
        fahrt.setDeparture(QDateTime(QDate(2027, 1, 4), QTime(8, 0), Qt::UTC));
        fahrt.setArrival(QDateTime(QDate(2027, 1, 4), QTime(9, 0), Qt::UTC));
        fahrt.findChild<QLineEdit *>(QStringLiteral("AbfahrtEd"))->setText(QStringLiteral("Köln"));
        fahrt.findChild<QLineEdit *>(QStringLiteral("AnkunftEd"))->setText(QStringLiteral("Bonn"));
        fahrt.findChild<NumberField *>(QStringLiteral("KMED"))->setText(QStringLiteral("31,2"));
        fahrt.findChild<QPlainTextEdit *>(QStringLiteral("ZweckEd"))
            ->setPlainText(QStringLiteral("Kundentermin"));
        fahrt.OkBtnClick();
        confirmed.start();
        confirmedCpuMs = threadCpuMs();
        return fahrt.result();
    }

    // Started when the dialog is confirmed.
    QElapsedTimer confirmed;
    double confirmedCpuMs = 0;
    // From the confirmed print options to the preview's first page on the screen.
    double firstPageMs = 0;
    // Until the last page is laid out and the page count shown.
    double allPagesMs = 0;
    int previewPages = 0;
};

bench::SavedLogbook &savedLogbook()
{
    static bench::SavedLogbook saved(kTrips);
    return saved;
}

// Shows the window and lets it paint once.
void showAndPaint(TMainForm &form)
{
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was not shown");
    form.tripList().viewport()->repaint();
}

void BM_OpenFromCommandLineUntilListShown(benchmark::State &state)
{
    ConfirmingPrompts prompts;
    for (auto _ : state) {
        TMainForm form(prompts, 96);
        form.setStartFile(savedLogbook().path);
        showAndPaint(form);
        if (form.tripList().model()->rowCount() != kTrips)
            state.SkipWithError("not loaded");
        state.PauseTiming();
        form.hide();
        form.document().NewAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFromCommandLineUntilListShown)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AddOneTrip(benchmark::State &state)
{
    // Every change goes to the recovery journal, as in the program.
    const QTemporaryDir journals;
    ConfirmingPrompts prompts;
    TMainForm form(prompts, 96);
    form.setRecoveryFolder(journals.path());
    form.setStartFile(savedLogbook().path);
    showAndPaint(form);
    QAction *newTrip = form.findChild<QAction *>(QStringLiteral("Neu1"));
    // From the confirmed dialog to the updated list; the reading offered before the dialog
    // shows is not part of it.
    double cpuMs = 0;
    for (auto _ : state) {
        newTrip->trigger();
        form.tripList().viewport()->repaint();
        state.SetIterationTime(double(prompts.confirmed.nsecsElapsed()) / 1e9);
        cpuMs += threadCpuMs() - prompts.confirmedCpuMs;
    }
    state.counters["rows"] = double(form.document().logbook().trips.count());
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
    form.document().SetUnChanged();
}
BENCHMARK(BM_AddOneTrip)->Unit(benchmark::kMillisecond)->Iterations(20)->UseManualTime();

// Page Down from the first row to the last; each key press and the repaint it causes is one
// frame. Reports the median, the 99th percentile and the slowest frame by the wall clock, and
// the slowest by this thread's CPU time: on a shared machine a frame's wall time also holds
// the time other programs had the processor.
void BM_ScrollTopToBottomWithTheKeyboard(benchmark::State &state)
{
    ConfirmingPrompts prompts;
    TMainForm form(prompts, 96);
    form.setStartFile(savedLogbook().path);
    showAndPaint(form);
    TripListView &list = form.tripList();
    list.setFocus();
    std::vector<double> frameMs;
    std::vector<double> frameCpuMs;
    for (auto _ : state) {
        form.tripList().selectRow(0);
        const int last = list.model()->rowCount() - 1;
        QElapsedTimer timer;
        while (list.currentIndex().row() < last) {
            timer.start();
            const double cpuStartMs = threadCpuMs();
            QTest::keyClick(&list, Qt::Key_PageDown);
            list.viewport()->repaint();
            frameMs.push_back(timer.nsecsElapsed() / 1e6);
            frameCpuMs.push_back(threadCpuMs() - cpuStartMs);
        }
    }
    if (frameMs.empty())
        return;
    std::sort(frameMs.begin(), frameMs.end());
    state.counters["frames"] = double(frameMs.size());
    state.counters["median_frame_ms"] = frameMs.at(frameMs.size() / 2);
    state.counters["p99_frame_ms"] = frameMs.at(frameMs.size() * 99 / 100);
    state.counters["slowest_frame_ms"] = frameMs.back();
    state.counters["slowest_frame_cpu_ms"] =
        *std::max_element(frameCpuMs.begin(), frameCpuMs.end());
}
BENCHMARK(BM_ScrollTopToBottomWithTheKeyboard)->Unit(benchmark::kMillisecond)->Iterations(1);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// In turn, so that both see the same load: an empty window from its construction until it is
// painted, and the print preview of 10,000 trips from OK in the print options until its first
// page is painted (and on until the last page is laid out). Reports the medians and the ratio.
void BM_PrintPreviewBesideAnEmptyWindow(benchmark::State &state)
{
    static const bench::SavedLogbook tenThousand(10'000);
    ConfirmingPrompts prompts;
    TMainForm form(prompts, 96);
    form.setStartFile(tenThousand.path);
    showAndPaint(form);
    QAction *preview = form.findChild<QAction *>(QStringLiteral("Druckvorschau1"));
    // The first run of each loads what later runs find ready (fonts, the printer).
    preview->trigger();
    TMainForm(prompts, 96).show();
    std::vector<double> previewMs;
    std::vector<double> allPagesMs;
    std::vector<double> emptyMs;
    for (auto _ : state) {
        QElapsedTimer started;
        started.start();
        {
            TMainForm empty(prompts, 96);
            showAndPaint(empty);
            emptyMs.push_back(double(started.nsecsElapsed()) / 1e6);
        }
        preview->trigger();
        previewMs.push_back(prompts.firstPageMs);
        allPagesMs.push_back(prompts.allPagesMs);
        state.SetIterationTime(prompts.firstPageMs / 1e3);
    }
    form.document().SetUnChanged();
    state.counters["pages"] = prompts.previewPages;
    state.counters["preview_ms"] = median(previewMs);
    state.counters["all_pages_ms"] = median(allPagesMs);
    state.counters["empty_window_ms"] = median(emptyMs);
    state.counters["ratio"] = median(previewMs) / median(emptyMs);
}
BENCHMARK(BM_PrintPreviewBesideAnEmptyWindow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(9)
    ->UseManualTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fahrtenbuch"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
