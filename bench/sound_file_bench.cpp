// Saving and loading the largest sound: a save of 128 oscillators (about 2900 keys) must
// stay well under 5 ms, so it never delays the editor's Save or the plug-in's return.
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "model/sound_file.h"

namespace {

using kettrik::Sound;

std::unique_ptr<Sound> LargestSound() {
    auto sound = std::make_unique<Sound>();
    kettrik::NewSound(*sound);
    sound->Count = kettrik::MaxOscillators;
    for (int i = 0; i < sound->Count; ++i) {
        kettrik::Oscillator& o = sound->Oscillators[i];
        o.Enabled = kettrik::On;
        o.StartF = 100.0 * (i + 1);
        o.EndT = 10.0 * (i + 1);
        kettrik::SetText(o.Comment, i % 2 == 0 ? "body of the kick" : "two\nlines");
    }
    return sound;
}

std::string BenchPath() {
    return (std::filesystem::temp_directory_path() /
            ("kettrik-sound-bench-" + std::to_string(std::random_device{}()) + ".ktu"))
        .string();
}

void SaveSoundOver128Oscillators(benchmark::State& state) {
    const auto sound = LargestSound();
    const std::string path = BenchPath();
    kettrik::SaveSound(path, *sound);
    for (auto _ : state) {
        benchmark::DoNotOptimize(kettrik::SaveSound(path, *sound));
    }
    std::filesystem::remove(path);
}
BENCHMARK(SaveSoundOver128Oscillators)->Unit(benchmark::kMillisecond);

void LoadSound128Oscillators(benchmark::State& state) {
    const std::string path = BenchPath();
    kettrik::SaveSound(path, *LargestSound());
    auto sound = std::make_unique<Sound>();
    for (auto _ : state) {
        kettrik::LoadSound(path, *sound);
        benchmark::DoNotOptimize(sound->Count);
    }
    std::filesystem::remove(path);
}
BENCHMARK(LoadSound128Oscillators)->Unit(benchmark::kMillisecond);

} // namespace
