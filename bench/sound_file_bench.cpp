#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "engine/temp_wav_file.h"
#include "model/sound_file.h"

namespace {

using namespace kettrik;

std::unique_ptr<Sound> FullSound() {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->Count = MaxOscillators;
    for (int i = 0; i < MaxOscillators; ++i) {
        Oscillator& o = sound->Oscillators[i];
        o.Enabled = On;
        o.StartF = 100.0 + i;
        o.EndT = 10.0 * i;
        SetText(o.Comment, i % 2 == 0 ? "oscillator " + std::to_string(i) : "two\nlines");
    }
    return sound;
}

// Saving and loading 128 oscillators: each under 5 ms.
void SaveFullSound(benchmark::State& state) {
    auto sound = FullSound();
    TempWavFile temp;
    const std::string path = temp.NewName(".ktu");
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveSound(path, *sound));
    }
}
BENCHMARK(SaveFullSound)->Unit(benchmark::kMillisecond);

void LoadFullSound(benchmark::State& state) {
    auto sound = FullSound();
    TempWavFile temp;
    const std::string path = temp.NewName(".ktu");
    SaveSound(path, *sound);
    auto loaded = std::make_unique<Sound>();
    for (auto _ : state) {
        LoadSound(path, *loaded);
        benchmark::DoNotOptimize(loaded->Count);
    }
}
BENCHMARK(LoadFullSound)->Unit(benchmark::kMillisecond);

// What every commit does: compare the whole table with its snapshot, and copy it. Under 50 us.
void CompareAndCopyTable(benchmark::State& state) {
    auto sound = FullSound();
    auto snapshot = std::make_unique<Sound>(*sound);
    for (auto _ : state) {
        const int differs =
            std::memcmp(&sound->Oscillators, &snapshot->Oscillators, sizeof(OscillatorTable));
        benchmark::DoNotOptimize(differs);
        std::memcpy(&snapshot->Oscillators, &sound->Oscillators, sizeof(OscillatorTable));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CompareAndCopyTable)->Unit(benchmark::kMicrosecond);

} // namespace
