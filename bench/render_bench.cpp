#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/render.h"
#include "engine/temp_wav_file.h"
#include "engine/wav_writer.h"
#include "model/sound_file.h"

namespace {

using namespace kettrik;

// Renders without writing, to time the engine alone.
double RenderAll(Sound& sound) {
    return RenderPeak(sound.Oscillators, sound.Count, sound.SampleFrequency);
}

// 128 On generators with curved envelopes and waveshapes, noise and a chain of FM: 1 s at
// 48000 Hz. The limit is half a second on one core.
void WorstCase(benchmark::State& state) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->SampleFrequency = 48000;
    sound->Count = MaxOscillators;
    for (int i = 0; i < MaxOscillators; ++i) {
        Oscillator& o = sound->Oscillators[i];
        NewOscillator(o);
        o.Enabled = On;
        o.WaveForm = i % 4;
        o.EndT = 1000;
        o.StartF = 200.0 + 37 * i;
        o.EndF = 50;
        o.StartA = 0.01;
        o.CurveShape0 = 0.3;
        o.CurveShape1 = 2.5;
        o.CurveShape2 = 1.5;
        o.NoiseBW = 0.2;
        o.NoiseChangeRate = i % 3;
        o.FMModBy = (i + MaxOscillators - 1) % MaxOscillators;
        o.FMModFac = 0.3;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderAll(*sound));
    }
    state.SetItemsProcessed(state.iterations() * 48000);
}
BENCHMARK(WorstCase)->Unit(benchmark::kMillisecond);

// Every example sound, rendered to a WAV file at 44100 Hz as Play does. The limit is 5 ms.
void Example(benchmark::State& state, const std::string& name) {
    auto sound = std::make_unique<Sound>();
    LoadSound(std::string(EXAMPLES_DIR) + "/" + name, *sound);
    sound->SampleFrequency = 44100;
    for (int i = 0; i < sound->Count; ++i) {
        Oscillator& o = sound->Oscillators[i];
        if (o.WaveForm == WavFileWave) {
            SetText(o.WavFile, std::string(EXAMPLES_DIR) + "/" + std::string(GetText(o.WavFile)));
        }
    }
    TempWavFile temp;
    const std::string path = temp.NewName(".wav");
    for (auto _ : state) {
        const RenderOutcome outcome =
            RenderToWav(path, sound->Oscillators, sound->SampleFrequency, sound->Count);
        benchmark::DoNotOptimize(outcome.Peak);
    }
}

// One generator for 1 s at 44100 Hz: a WAV-file waveform may cost at most twice a sine.
void OneGenerator(benchmark::State& state, int waveForm) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->SampleFrequency = 44100;
    Oscillator& o = sound->Oscillators[0];
    o.EndT = 1000;
    o.CurveShape0 = 0.3;
    o.CurveShape1 = 2.5;
    o.WaveForm = waveForm;
    if (waveForm == WavFileWave) {
        SetText(o.WavFile, std::string(EXAMPLES_DIR) + "/samples/knock.wav");
        o.StartF = o.EndF = 22050;
        o.LoopWav = 1;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderAll(*sound));
    }
    state.SetItemsProcessed(state.iterations() * 44100);
}
BENCHMARK_CAPTURE(OneGenerator, Sine, static_cast<int>(Sine))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OneGenerator, WavFile, static_cast<int>(WavFileWave))
    ->Unit(benchmark::kMicrosecond);

const bool examplesRegistered = [] {
    for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
        if (entry.path().extension() == ".ktu") {
            const std::string name = entry.path().filename().string();
            benchmark::RegisterBenchmark(("Example/" + name).c_str(), [name](benchmark::State& s) {
                Example(s, name);
            })->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

} // namespace
