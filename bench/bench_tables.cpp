#include "table.h"
#include "usernotifier.h"

#include <benchmark/benchmark.h>

namespace {

class SilentNotifier : public UserNotifier {
public:
    void showMessage(const QString&) override {}
    void showError(const QString&) override {}
    bool confirm(const QString&) override { return true; }
    void showToast(const QString&) override {}
    void flashToast(const QString&) override {}
    void processEvents() override {}
};

// The worst interpolation: every curve point an anchor and a learned point.
void BM_InterpolateEveryPointAnchored(benchmark::State& state)
{
    SilentNotifier notifier;
    Table table(notifier);
    for (int i = 0; i < Table::CurveSize; ++i) {
        table.tab[i] = (i * 37) % 256;
        table.marks[i] = 255;
        table.learned[i] = 255;
        table.trained[i] = i % 2;
    }
    for (auto _ : state) {
        table.Interpolate(1, 128);
        benchmark::DoNotOptimize(table.tab.data());
    }
}
BENCHMARK(BM_InterpolateEveryPointAnchored);

// One double tap on the log chart: set an anchored point, interpolate,
// record the history step. The history is restarted every 500 steps so the
// run measures the edit, not the memory of an endless session.
void BM_AnchoredEditWithHistory(benchmark::State& state)
{
    SilentNotifier notifier;
    Table table(notifier);
    table.SetUpTableView(nullptr, nullptr, true, {}, {});
    int k = 0;
    for (auto _ : state) {
        table.SetPoint(k % 256, (k * 7) % 256, 1);
        if (++k % 500 == 0) {
            table.ResetUndo();
            table.PushUndo();
        }
    }
}
BENCHMARK(BM_AnchoredEditWithHistory);

// Undo and redo over a history of 200 steps.
void BM_UndoRedoStep(benchmark::State& state)
{
    SilentNotifier notifier;
    Table table(notifier);
    table.SetUpTableView(nullptr, nullptr, true, {}, {});
    for (int k = 0; k < 200; ++k)
        table.ApplyCorrection(1, k, k + 10, Table::ApplyWindow);
    for (auto _ : state) {
        table.UndoRedo(false);
        table.UndoRedo(true);
    }
}
BENCHMARK(BM_UndoRedoStep);

}  // namespace
