// The cost of recording edits and undoing them, on a full table of 128 oscillators.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/undo_history.h"

namespace {

using namespace kettrik;

struct Editing {
    std::unique_ptr<Sound> Now = std::make_unique<Sound>();
    std::unique_ptr<Snapshot> Then = std::make_unique<Snapshot>();
    UndoHistory History;
    Editing() {
        NewSound(*Now);
        Now->Count = MaxOscillators;
        for (int i = 0; i < MaxOscillators; ++i) {
            NewOscillator(Now->Oscillators[i]);
            Now->Oscillators[i].StartF = 100.0 + i;
        }
        TakeSnapshot(*Then, *Now, 0, 0);
    }
    // One field of one oscillator, as a page's edit changes it.
    void EditOneField(int step) {
        Now->Oscillators[static_cast<std::size_t>(step % MaxOscillators)].EndT += 1.0;
    }
};

// A commit after a one-field edit: under 50 microseconds; the step saves under 64 bytes.
void CommitOneFieldEdit(benchmark::State& state) {
    Editing e;
    int step = 0;
    std::size_t saved = 0;
    for (auto _ : state) {
        e.EditOneField(step++);
        benchmark::DoNotOptimize(CommitTable(*e.Now, *e.Then, e.History, 0, 0));
        saved = e.History.Newest()->Bytes.size();
        if (e.History.Size() > 100000) { // keep memory bounded over millions of iterations
            e.History.Clear();
        }
    }
    state.counters["saved_bytes"] = static_cast<double>(saved);
}
BENCHMARK(CommitOneFieldEdit)->Unit(benchmark::kMicrosecond);

// Undo of the newest of 10,000 steps: under 1 ms.
void UndoNewestOf10000(benchmark::State& state) {
    Editing e;
    int step = 0;
    for (; step < 10000; ++step) {
        e.EditOneField(step);
        CommitTable(*e.Now, *e.Then, e.History, step % MaxOscillators, 0);
    }
    for (auto _ : state) {
        const UndoStep& newest = *e.History.Newest();
        ApplyUndoStep(*e.Now, newest);
        TakeSnapshot(*e.Then, *e.Now, newest.SelectedOscillator, newest.SelectedPage);
        e.History.DropNewest();
        state.PauseTiming();
        e.EditOneField(step++);
        CommitTable(*e.Now, *e.Then, e.History, 0, 0);
        state.ResumeTiming();
    }
    state.counters["steps"] = static_cast<double>(e.History.Size());
}
BENCHMARK(UndoNewestOf10000)->Unit(benchmark::kMicrosecond);

} // namespace
