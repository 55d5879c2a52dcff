// The main window with a logbook of 100,000 trips: opening it from the command line until the
// list is shown, adding one trip (recovery journal included), and scrolling from top to bottom with
// the keyboard.
#include "saved_logbook.h"

#include "storage/logbook_document.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/fields/number_field.h"
#include "ui/list/trip_list_view.h"
#include "ui/window/main_form.h"
#include "ui/window/prompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// Confirms every trip dialog with a short trip; asks nothing else.
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
