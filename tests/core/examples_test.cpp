// The example library is a fixture: every sound must load, render to its length and sound.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "engine/envelope.h"
#include "engine/render.h"
#include "engine/wav_writer.h"
#include "model/sound_file.h"

namespace kettrik {
namespace {

namespace fs = std::filesystem;

struct Example {
    const char* File;
    double LengthMs;
    int Oscillators;
};

const Example examples[] = {
    {"kick.ktu", 380, 2},         {"kick_linked.ktu", 520, 2}, {"snare.ktu", 230, 2},
    {"hat_closed.ktu", 55, 1},    {"hat_open.ktu", 420, 2},    {"clap.ktu", 260, 5},
    {"tom_low.ktu", 450, 2},      {"tom_high.ktu", 320, 2},    {"rimshot.ktu", 60, 2},
    {"cowbell.ktu", 320, 3},      {"zap.ktu", 180, 2},         {"noise_sweep.ktu", 900, 2},
    {"sample_knock.ktu", 150, 2},
};

std::unique_ptr<Sound> LoadExample(const char* file) {
    auto sound = std::make_unique<Sound>();
    LoadSound(std::string(EXAMPLES_DIR) + "/" + file, *sound);
    // Sample paths in the library are relative to the library's folder.
    for (int i = 0; i < sound->Count; ++i) {
        Oscillator& o = sound->Oscillators[i];
        if (o.WaveForm == WavFileWave) {
            SetText(o.WavFile, std::string(EXAMPLES_DIR) + "/" + std::string(GetText(o.WavFile)));
        }
    }
    return sound;
}

TEST(ExampleLibrary, everySoundLoadsRendersToItsLengthAndIsAudible) {
    test::TempDir dir;
    for (const Example& e : examples) {
        SetNoiseRandomState(1);
        auto sound = LoadExample(e.File);
        EXPECT_EQ(sound->SampleFrequency, 44100) << e.File;
        EXPECT_EQ(sound->Count, e.Oscillators) << e.File;
        EXPECT_FALSE(GetText(sound->Oscillators[0].Comment).empty()) << e.File;
        const RenderOutcome outcome = RenderToWav(dir.File("out.wav"), sound->Oscillators,
                                                  sound->SampleFrequency, sound->Count);
        ASSERT_TRUE(outcome.Written) << e.File;
        EXPECT_EQ(outcome.Samples, TimeToSample(e.LengthMs, 44100)) << e.File;
        EXPECT_GT(outcome.Peak, 0.1) << e.File;
        EXPECT_LT(outcome.Peak, 1.6) << e.File;
    }
}

TEST(ExampleLibrary, linkedKickIsOneEnvelopeOverTwoOscillators) {
    auto sound = LoadExample("kick_linked.ktu");
    EXPECT_EQ(sound->Oscillators[0].NextLinked, 1);
    EXPECT_EQ(sound->Oscillators[1].PrevLinked, 0);
}

TEST(ExampleLibrary, sampledKickPlaysItsWavFile) {
    test::TempDir dir;
    auto withFile = LoadExample("sample_knock.ktu");
    auto withoutFile = LoadExample("sample_knock.ktu");
    SetText(withoutFile->Oscillators[0].WavFile, dir.File("missing.wav"));
    const RenderOutcome a = RenderToWav(dir.File("a.wav"), withFile->Oscillators, 44100, 2);
    const RenderOutcome b = RenderToWav(dir.File("b.wav"), withoutFile->Oscillators, 44100, 2);
    ASSERT_TRUE(a.Written && b.Written);
    EXPECT_GT(a.Peak, b.Peak + 0.2); // the knock is far louder than the sine under it
}

} // namespace
} // namespace kettrik
