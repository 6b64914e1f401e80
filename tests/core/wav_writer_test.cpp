#include "engine/wav_writer.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "engine/render.h"

namespace kettrik {
namespace {

using test::ReadFileBytes;
using test::TempDir;

std::uint32_t Le32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return v;
}

std::int16_t SampleAt(const std::string& bytes, std::size_t index) {
    const std::size_t at = 44 + 2 * index;
    return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

TEST(SampleToPcm16, fullScaleIs32760AndValuesTruncateTowardZero) {
    struct Case {
        double Sample;
        std::int16_t Expected;
    } cases[] = {{1.0, 32760},   {-1.0, -32760}, {0.99999, 32759},  {-0.5, -16380}, {1.7, 32760},
                 {-3.0, -32760}, {0.0, 0},       {std::nan(""), 0}, {1e-9, 0},      {-1e-9, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(SampleToPcm16(ClipSample(c.Sample)), c.Expected) << c.Sample;
    }
}

class RenderToWavTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetNoiseRandomState(1);
        NewSound(*sound);
    }
    RenderOutcome Render(const std::string& path, const SampleHook* hook = nullptr) {
        return RenderToWav(path, sound->Oscillators, sound->SampleFrequency, sound->Count, hook);
    }
    TempDir dir;
    std::unique_ptr<Sound> sound = std::make_unique<Sound>();
};

TEST_F(RenderToWavTest, newSoundGivesACanonicalHeaderAndExactlyMaxEndSamples) {
    const std::string path = dir.File("new.wav");
    const RenderOutcome outcome = Render(path);
    ASSERT_TRUE(outcome.Written);
    EXPECT_EQ(outcome.Samples, 4410);
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 44u + 2 * 4410);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32At(bytes, 4), 36u + 2 * 4410);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32At(bytes, 16), 16u);
    EXPECT_EQ(Le32At(bytes, 20), 1u | (1u << 16)); // PCM, mono
    EXPECT_EQ(Le32At(bytes, 24), 22050u);
    EXPECT_EQ(Le32At(bytes, 28), 44100u);
    EXPECT_EQ(Le32At(bytes, 32), 2u | (16u << 16));
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(Le32At(bytes, 40), 2u * 4410);
    // The first sample, computed by hand: sin(f) x 0.95 x 32760, truncated.
    const double first = std::sin((2000.0 / 22050) * 6.2831852) * 0.95;
    EXPECT_EQ(SampleAt(bytes, 0), static_cast<std::int16_t>(first * 32760));
    EXPECT_NEAR(outcome.Peak, 0.95, 0.01);
}

TEST_F(RenderToWavTest, loudSoundIsClippedButItsPeakIsReported) {
    Oscillator& o = sound->Oscillators[0];
    o.WaveForm = Square;
    o.StartA = o.EndA = 1.7;
    o.StartF = o.EndF = 100;
    const std::string path = dir.File("loud.wav");
    const RenderOutcome outcome = Render(path);
    EXPECT_DOUBLE_EQ(outcome.Peak, 1.7);
    const std::string bytes = ReadFileBytes(path);
    for (std::size_t i = 0; i < 4410; ++i) {
        const std::int16_t v = SampleAt(bytes, i);
        ASSERT_TRUE(v == 32760 || v == -32760) << i;
    }
}

TEST_F(RenderToWavTest, soundWithEveryOscillatorOffIsAnEmptyWav) {
    sound->Oscillators[0].Enabled = Off;
    const std::string path = dir.File("empty.wav");
    const RenderOutcome outcome = Render(path);
    EXPECT_TRUE(outcome.Written);
    EXPECT_EQ(outcome.Samples, 0);
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(Le32At(bytes, 40), 0u);
}

TEST_F(RenderToWavTest, unwritableOutputIsReportedAndTheRenderStateCleared) {
    const std::string path = dir.File("no-such-folder/out.wav");
    const RenderOutcome outcome = Render(path);
    EXPECT_FALSE(outcome.Written);
    EXPECT_EQ(outcome.Peak, 0.0);
    EXPECT_FALSE(std::filesystem::exists(path));
    RenderState zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&sound->Oscillators[0].Render, &zero, sizeof zero), 0);
}

TEST_F(RenderToWavTest, replacesAnExistingFileWithoutLeavingTemporaryFiles) {
    const std::string path = dir.File("out.wav");
    test::WriteFileBytes(path, std::string(100000, 'x'));
    ASSERT_TRUE(Render(path).Written);
    EXPECT_EQ(ReadFileBytes(path).size(), 44u + 2 * 4410);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(RenderToWavTest, hookSeesEveryClippedSampleIncludingTheFinalSilentOne) {
    sound->Oscillators[0].StartA = sound->Oscillators[0].EndA = 3.0;
    std::vector<double> seen;
    const SampleHook hook = [&seen](double s) { seen.push_back(s); };
    Render(dir.File("hook.wav"), &hook);
    ASSERT_EQ(seen.size(), 4411u);
    EXPECT_EQ(seen.back(), 0.0);
    for (const double s : seen) {
        ASSERT_LE(std::fabs(s), 1.0);
    }
}

TEST(RenderProgress, setupAndColumnsFollowTheWaveform) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    RenderProgress progress;
    // 200 ms at 22050 Hz is 4410 samples over 200 columns: 22 per column, plus 1.
    SetupRenderProgress(progress, sound->Oscillators, 1, 22050, 0, 0, 200, 50);
    EXPECT_EQ(progress.SamplesPerColumn, 23);
    EXPECT_EQ(progress.Centre, 25);
    EXPECT_EQ(progress.Scale, 24);

    ProgressSegment first = AdvanceRenderProgress(progress, 0.5);
    EXPECT_TRUE(first.Draw);
    EXPECT_EQ(first.X, 0);
    EXPECT_EQ(first.Y0, 25); // from the centre line...
    EXPECT_EQ(first.Y1, 37); // ...down to the sample: positive samples are drawn below
    for (int i = 1; i < 23; ++i) {
        EXPECT_FALSE(AdvanceRenderProgress(progress, 0.9).Draw);
    }
    const ProgressSegment second = AdvanceRenderProgress(progress, -1.0);
    EXPECT_TRUE(second.Draw);
    EXPECT_EQ(second.X, 1);
    EXPECT_EQ(second.Y0, 1);
    EXPECT_EQ(second.Y1, 37);
}

TEST(RenderProgress, emptyAreaOrSilentSoundNeverDividesByZero) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->Oscillators[0].Enabled = Off;
    RenderProgress progress;
    SetupRenderProgress(progress, sound->Oscillators, 1, 22050, 10, 10, 10, 10);
    EXPECT_EQ(progress.SamplesPerColumn, 1);
    EXPECT_TRUE(AdvanceRenderProgress(progress, 0.2).Draw);
}

} // namespace
} // namespace kettrik
