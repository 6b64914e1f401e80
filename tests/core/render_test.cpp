#include "engine/render.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "engine/envelope.h"

namespace kettrik {
namespace {

constexpr double TwoPi = 6.2831852;

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetNoiseRandomState(1);
        NewSound(sound());
    }
    Sound& sound() { return *sound_; }
    Oscillator& osc(int i) { return sound_->Oscillators[i]; }
    // Adds oscillators made by NewOscillator, switched On, until there are n.
    void UseOscillators(int n) {
        for (int i = sound().Count; i < n; ++i) {
            NewOscillator(osc(i));
            osc(i).Enabled = On;
        }
        sound().Count = n;
    }
    // Every sample of a full render, as the WAV writer drives it.
    std::vector<double> Render() {
        std::vector<double> samples;
        const std::int32_t maxEnd =
            PrepareRender(sound().Oscillators, sound().Count, sound().SampleFrequency);
        for (std::int32_t n = 0;; ++n) {
            const SampleResult r = RenderSample(sound().Oscillators, sound().Count, n);
            if (!r.AnyActive) {
                break;
            }
            samples.push_back(r.Mix);
        }
        FinishRender(sound().Oscillators, sound().Count);
        EXPECT_EQ(static_cast<std::int32_t>(samples.size()), maxEnd);
        return samples;
    }

private:
    std::unique_ptr<Sound> sound_ = std::make_unique<Sound>();
};

TEST(NoiseRandom, isTheClassicLinearCongruentialSequenceFromState1) {
    SetNoiseRandomState(1);
    const std::int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (const std::int32_t value : expected) {
        EXPECT_EQ(NoiseRandomInt(), value);
    }
    SetNoiseRandomState(1);
    EXPECT_DOUBLE_EQ(NoiseRandom(), 41 / 32767.0);
}

TEST_F(RenderTest, newSoundIsA200msSineSweepStartingAtPhaseF) {
    const std::vector<double> samples = Render();
    ASSERT_EQ(samples.size(), 4410u);
    // The increment is added before the waveform is taken.
    const double f0 = (2000.0 / 22050) * TwoPi;
    EXPECT_DOUBLE_EQ(samples[0], std::sin(f0) * 0.95);
    // Second sample: t = 1/4410 on both envelopes.
    const double t = 1.0 / 4410;
    const double f1 = f0 + (0 - f0) * std::pow(t, 0.1);
    const double a1 = 0.95 + (0 - 0.95) * std::pow(t, 8);
    EXPECT_DOUBLE_EQ(samples[1], std::sin(f0 + f1) * a1);
    for (const double s : samples) {
        ASSERT_LE(std::fabs(s), 0.95);
    }
}

TEST_F(RenderTest, lengthIsTheLargestEndOfOscillatorsThatAreNotOff) {
    struct Case {
        const char* What;
        std::int32_t Enabled;
        double StartT, EndT;
        std::size_t Samples;
        bool Silent;
    } cases[] = {
        {"Inaudible only: silence of its length", Inaudible, 0, 100, 2205, true},
        {"ends before it starts: never sounds, still lasts", On, 500, 300, 6615, true},
        {"Off: nothing at all", Off, 0, 100, 0, true},
        {"start equals end: never works", On, 100, 100, 2205, true},
        {"Enabled 3 acts as Inaudible", 3, 0, 100, 2205, true},
    };
    for (const Case& c : cases) {
        SetUp();
        osc(0).Enabled = c.Enabled;
        osc(0).StartT = c.StartT;
        osc(0).EndT = c.EndT;
        const std::vector<double> samples = Render();
        EXPECT_EQ(samples.size(), c.Samples) << c.What;
        bool silent = true;
        for (const double s : samples) {
            silent = silent && s == 0.0;
        }
        EXPECT_EQ(silent, c.Silent) << c.What;
    }
}

TEST_F(RenderTest, negativeStartBeginsPartWayThroughTheEnvelope) {
    osc(0).StartT = -100;
    osc(0).EndT = 100;
    osc(0).StartA = 1;
    osc(0).EndA = 0;
    osc(0).CurveShape1 = 1;
    osc(0).StartF = osc(0).EndF = 1000;
    const std::vector<double> samples = Render();
    ASSERT_EQ(samples.size(), 2205u);
    // t = 0.5 on the first sample: amplitude 0.5.
    EXPECT_DOUBLE_EQ(samples[0], std::sin((1000.0 / 22050) * TwoPi) * 0.5);
}

TEST_F(RenderTest, followingOscillatorContinuesThePhaseWithoutAJump) {
    UseOscillators(2);
    for (int i = 0; i < 2; ++i) {
        osc(i).StartF = osc(i).EndF = 440;
        osc(i).StartA = osc(i).EndA = 0.5;
        osc(i).StartT = 100.0 * i;
        osc(i).EndT = 100.0 * (i + 1);
    }
    const std::vector<double> samples = Render();
    ASSERT_EQ(samples.size(), 4410u);
    const double f = (440.0 / 22050) * TwoPi;
    // Sample 2205 is oscillator 1's first: phase = oscillator 0's last phase + f.
    EXPECT_NEAR(samples[2205], std::sin(2206 * f) * 0.5, 1e-9);
    EXPECT_NEAR(samples[2205] - samples[2204], samples[2204] - samples[2203], 1e-3);
}

TEST_F(RenderTest, filterFirstInTheTableSeesNothing) {
    osc(0).Filter = 1;
    osc(0).StartF = osc(0).EndF = 1000;
    for (const double s : Render()) {
        ASSERT_EQ(s, 0.0);
    }
}

TEST_F(RenderTest, filterReplacesTheMixBelowItAndLetsHigherOscillatorsThrough) {
    UseOscillators(3);
    osc(0).StartF = osc(0).EndF = 300;
    osc(1).Filter = 1;
    osc(1).StartF = osc(1).EndF = 200; // a low cutoff: the filtered sine is much quieter
    osc(1).StartA = osc(1).EndA = 0.0;
    osc(2).Enabled = Off;
    const std::vector<double> filtered = Render();
    osc(1).Enabled = Off;
    const std::vector<double> dry = Render();
    ASSERT_EQ(filtered.size(), dry.size());
    // A single-pole step: v = (in - out) x f with f = 2 x 200 / 44100.
    const double f = 2.0 * 200 / 44100;
    EXPECT_DOUBLE_EQ(filtered[0], dry[0] * f);
    double peakFiltered = 0, peakDry = 0;
    for (std::size_t i = 0; i < dry.size(); ++i) {
        peakFiltered = std::max(peakFiltered, std::fabs(filtered[i]));
        peakDry = std::max(peakDry, std::fabs(dry[i]));
    }
    EXPECT_LT(peakFiltered, peakDry * 0.5);
}

// How many numbers the generator gave since it was at state 1.
int DrawsSinceStart() {
    const std::uint32_t reached = NoiseRandomState();
    SetNoiseRandomState(1);
    int draws = 0;
    while (NoiseRandomState() != reached && draws < 100000) {
        NoiseRandomInt();
        ++draws;
    }
    return draws;
}

TEST_F(RenderTest, noiseChangeRateDecidesWhenANewDeviationIsDrawn) {
    struct Case {
        std::int32_t Rate;
        int DrawsIn10Samples;
    } cases[] = {{1, 5}, {4, 2}, {-3, 10}};
    for (const Case& c : cases) {
        SetUp();
        sound().SampleFrequency = 20000;
        osc(0).EndT = 0.5;
        ASSERT_EQ(TimeToSample(osc(0).EndT, 20000), 10);
        osc(0).NoiseBW = 0.5;
        osc(0).NoiseChangeRate = c.Rate;
        Render();
        EXPECT_EQ(DrawsSinceStart(), c.DrawsIn10Samples) << "rate " << c.Rate;
    }
}

TEST_F(RenderTest, noiseAtSignChangesDeviatesRelativeToTheCurrentFrequency) {
    osc(0).StartF = osc(0).EndF = 1000;
    osc(0).StartA = osc(0).EndA = 1;
    osc(0).NoiseBW = 0.1;
    osc(0).NoiseChangeRate = 0;
    PrepareRender(sound().Oscillators, 1, 22050);
    const double f = (1000.0 / 22050) * TwoPi;
    double largest = 0;
    for (std::int32_t n = 0; n < 4000; ++n) {
        RenderSample(sound().Oscillators, 1, n);
        largest = std::max(largest, std::fabs(osc(0).Render.NoiseOffset));
    }
    FinishRender(sound().Oscillators, 1);
    EXPECT_GT(largest, 0.0);
    // Each deviation is up to 10% of the already deviated frequency.
    EXPECT_LE(largest, f * (1.1 * 1.1 - 1) + 1e-12);
}

TEST_F(RenderTest, modulationBySilentOrMissingModulators) {
    UseOscillators(2);
    osc(0).StartF = osc(0).EndF = 500;
    osc(0).StartA = osc(0).EndA = 1;
    osc(1).Enabled = Off;
    struct Case {
        const char* What;
        std::int32_t FMBy;
        double FMFac;
        std::int32_t AMBy;
        double AMFac;
        bool Silent;
    } cases[] = {
        {"negative FM by a modulator at 0 stops the phase", 1, -1, -1, 0, true},
        {"negative AM by an Off modulator silences", -1, 0, 1, -1, true},
        {"positive AM by an Off modulator has no effect", -1, 0, 1, 0.7, false},
        {"a reference beyond the table acts as none", 57, -1, 99, -1, false},
        {"a reference below -1 acts as none", -7, -1, -2, -1, false},
    };
    for (const Case& c : cases) {
        osc(0).FMModBy = c.FMBy;
        osc(0).FMModFac = c.FMFac;
        osc(0).AMModBy = c.AMBy;
        osc(0).AMModFac = c.AMFac;
        bool silent = true;
        for (const double s : Render()) {
            silent = silent && s == 0.0;
        }
        EXPECT_EQ(silent, c.Silent) << c.What;
    }
}

TEST(OscillatorValue, waveformsAndShapes) {
    struct Case {
        const char* What;
        std::int32_t WaveForm;
        double Phase, Shape, Expected;
    } cases[] = {
        {"sine", Sine, 1.0, 1, std::sin(1.0)},
        {"sawtooth falls from +1", Sawtooth, 0.0, 1, 1.0},
        {"sawtooth at a quarter", Sawtooth, 2.25, 1, 0.5},
        {"square low in the first half", Square, 0.25, 1, -1},
        {"square high in the second half", Square, 0.75, 1, 1},
        {"square with shape 2 is high from 0.7071", Square, 0.70, 2, -1},
        {"square with shape 2 at 0.72", Square, 0.72, 2, 1},
        {"square with shape 0.5 is high from 0.25", Square, 0.26, 0.5, 1},
        {"triangle rises", Triangle, 0.125, 1, 0.5},
        {"triangle at its top", Triangle, 0.25, 1, 1},
        {"triangle at its bottom", Triangle, 0.75, 1, -1},
        {"triangle rising back", Triangle, 0.875, 1, -0.5},
        {"shape 2 narrows peaks", Sawtooth, 0.25, 2, 0.25},
        {"shape 2 keeps the sign", Sawtooth, 0.75, 2, -0.25},
        {"shape 0 turns zero into -1", Sawtooth, 0.5, 0, -1},
        {"shape 0 turns positive into +1", Triangle, 0.1, 0, 1},
        {"negative shape stays within full scale", Sawtooth, 0.45, -2, 1},
        {"unknown waveform plays as a sine", 9, 1.0, 1, std::sin(1.0)},
        {"infinite phase gives silence, not NaN", Sawtooth, std::numeric_limits<double>::infinity(),
         1, 0},
        {"WAV file without a source is silent", WavFileWave, 3.0, 0, 0},
    };
    Oscillator o;
    for (const Case& c : cases) {
        NewOscillator(o);
        o.WaveForm = c.WaveForm;
        o.Render.Phase = c.Phase;
        o.CurveShape2 = c.Shape;
        EXPECT_DOUBLE_EQ(OscillatorValue(o), c.Expected) << c.What;
    }
}

TEST_F(RenderTest, hostileValuesRenderFiniteSamplesToTheEnd) {
    const double inf = std::numeric_limits<double>::infinity();
    UseOscillators(4);
    osc(0).StartF = 1e308;
    osc(0).EndF = -1e308;
    osc(0).CurveShape0 = -3;
    osc(1).StartA = inf;
    osc(1).EndA = -inf;
    osc(1).FMModBy = 0;
    osc(1).FMModFac = 1e300;
    osc(2).Filter = 1;
    osc(2).StartA = 50; // a resonance that explodes
    osc(2).EndA = 50;
    osc(3).CurveShape2 = std::nan("");
    osc(3).NoiseBW = inf;
    osc(3).NoiseChangeRate = INT32_MAX;
    sound().SampleFrequency = 5000; // a filter below 10000 Hz
    const std::vector<double> samples = Render();
    EXPECT_EQ(samples.size(), 1000u);
}

TEST_F(RenderTest, finishClearsEveryRenderState) {
    UseOscillators(3);
    Render();
    RenderState zero;
    std::memset(&zero, 0, sizeof zero);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(std::memcmp(&osc(i).Render, &zero, sizeof zero), 0);
    }
}

TEST_F(RenderTest, filterCoefficientUsesTheIntegerH) {
    osc(0).Filter = 1;
    osc(0).StartF = 1000;
    osc(0).EndF = 500;
    struct Case {
        std::int32_t Rate;
        double H;
    } cases[] = {{22050, 44100}, {44100, 176400}, {48000, 192000}, {11025, 11025}, {8000, 8000}};
    for (const Case& c : cases) {
        PrepareRender(sound().Oscillators, 1, c.Rate);
        EXPECT_DOUBLE_EQ(osc(0).Render.FreqStart, 2 * 1000 / c.H) << c.Rate;
        EXPECT_DOUBLE_EQ(osc(0).Render.FreqDelta, 2 * 500 / c.H - 2 * 1000 / c.H) << c.Rate;
        FinishRender(sound().Oscillators, 1);
    }
}

} // namespace
} // namespace kettrik
