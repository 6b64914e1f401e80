#include "engine/render.h"

#include <atomic>
#include <cmath>

#include "engine/envelope.h"
#include "engine/wav_reader.h"

namespace kettrik {

namespace {

// The constant the program has always used for 2 pi; renders depend on it to the sample.
constexpr double TwoPi = 6.2831852;

std::atomic<std::uint32_t> noiseState{1};

// Sine increments are in radians per sample, every other waveform in cycles (or WAV frames)
// per sample. A WaveForm outside the known kinds plays as a sine.
bool UsesRadians(std::int32_t waveForm) {
    return waveForm != Sawtooth && waveForm != Square && waveForm != Triangle &&
           waveForm != WavFileWave;
}

double Increment(const Oscillator& o, double frequency, std::int32_t rate) {
    if (rate == 0) {
        return 0.0;
    }
    if (o.Filter != 0) {
        // The filter's coupling is 2f / H with H = (rate div 10000) x rate in integer
        // arithmetic. Below 10000 Hz the quotient would be 0; it counts as 1 there so that
        // filters keep working at low rates instead of dividing by zero.
        std::int64_t quotient = static_cast<std::int64_t>(rate) / 10000;
        if (quotient == 0) {
            quotient = 1;
        }
        const std::int64_t h = quotient * rate;
        return 2.0 * frequency / static_cast<double>(h);
    }
    const double perSample = frequency / static_cast<double>(rate);
    return UsesRadians(o.WaveForm) ? perSample * TwoPi : perSample;
}

// Phase -> frame index of a WAV source with at least one frame.
std::int64_t WavFrameIndex(double phase, std::int32_t frames, bool loop) {
    if (std::isnan(phase)) {
        return 0;
    }
    double j = std::trunc(phase);
    if (loop) {
        j = std::fmod(j, static_cast<double>(frames)); // NaN for an infinite phase
        if (std::isnan(j)) {
            return 0;
        }
        if (j < 0) {
            j += frames; // a falling phase loops backwards through the file
        }
        return static_cast<std::int64_t>(j);
    }
    if (j <= 0) {
        return 0;
    }
    if (j >= frames - 1) {
        return frames - 1;
    }
    return static_cast<std::int64_t>(j);
}

double Shape(double x, double shape) {
    if (shape == 1.0) {
        return x;
    }
    return x > 0 ? std::pow(x, shape) : -std::pow(-x, shape);
}

// Keeps a waveform value finite and within -1..1 whatever exponent or phase produced it.
double Bounded(double x) {
    if (std::isnan(x)) {
        return 0.0;
    }
    return x > 1.0 ? 1.0 : (x < -1.0 ? -1.0 : x);
}

} // namespace

std::int32_t NoiseRandomInt() {
    std::uint32_t current = noiseState.load(std::memory_order_relaxed);
    std::uint32_t next;
    do {
        next = current * 214013u + 2531011u;
    } while (!noiseState.compare_exchange_weak(current, next, std::memory_order_relaxed));
    return static_cast<std::int32_t>((next >> 16) & 0x7FFFu);
}

double NoiseRandom() {
    return NoiseRandomInt() / 32767.0;
}

void SetNoiseRandomState(std::uint32_t state) {
    noiseState.store(state);
}

std::uint32_t NoiseRandomState() {
    return noiseState.load();
}

std::int32_t PrepareRender(OscillatorTable& table, int count, std::int32_t sampleFrequency) {
    const int n = ClampCount(count);
    std::int32_t maxEnd = 0;
    for (int i = 0; i < n; ++i) {
        Oscillator& o = table[i];
        RenderState& rs = o.Render;
        if (o.WaveForm == WavFileWave) {
            OpenWavSource(o);
        }
        rs.StartSample = TimeToSample(o.StartT, sampleFrequency);
        rs.EndSample = TimeToSample(o.EndT, sampleFrequency);
        rs.Phase = 0;
        rs.LastOut = 0;
        rs.NoiseOffset = 0;
        rs.NoiseCounter = 0;
        if (o.Enabled != Off && rs.EndSample > maxEnd) {
            maxEnd = rs.EndSample;
        }
        rs.ContinuesPrevious = i > 0 && table[i - 1].Render.EndSample == rs.StartSample &&
                                       table[i - 1].Filter == o.Filter
                                   ? 1
                                   : 0;
        rs.LengthSamples = rs.EndSample - rs.StartSample;
        rs.AmpDelta = o.EndA - o.StartA;
        rs.FreqStart = Increment(o, o.StartF, sampleFrequency);
        rs.FreqDelta = Increment(o, o.EndF, sampleFrequency) - rs.FreqStart;
    }
    return maxEnd;
}

double OscillatorValue(const Oscillator& oscillator) {
    const double p = oscillator.Render.Phase;
    const double s = oscillator.CurveShape2;
    const double u = p - std::floor(p);
    double x;
    switch (oscillator.WaveForm) {
    case Sawtooth:
        x = 1.0 - 2.0 * u;
        break;
    case Square: {
        const double high = s == 1.0 ? u : std::pow(u, s);
        return high > 0.5 ? 1.0 : -1.0;
    }
    case Triangle:
        if (u < 0.25) {
            x = 4.0 * u;
        } else if (u > 0.75) {
            x = 4.0 * (u - 0.75) - 1.0;
        } else {
            x = 1.0 - 4.0 * (u - 0.25);
        }
        break;
    case WavFileWave: {
        const WavSource& source = oscillator.Render.Source;
        if (source.Cache == nullptr || source.FrameCount <= 0) {
            return 0.0; // no file to play: silence rather than a stand-in tone
        }
        x = ReadWavFrame(source, WavFrameIndex(p, source.FrameCount, oscillator.LoopWav != 0));
        break;
    }
    default:
        x = std::sin(p);
        break;
    }
    return Bounded(Shape(x, s));
}

SampleResult RenderSample(OscillatorTable& table, int count, std::int32_t n) {
    const int oscillators = ClampCount(count);
    double mix = 0.0;
    bool anyActive = false;
    for (int i = 0; i < oscillators; ++i) {
        Oscillator& o = table[i];
        RenderState& rs = o.Render;
        if (o.Enabled == Off || n >= rs.EndSample) {
            continue;
        }
        anyActive = true;
        if (n < rs.StartSample) {
            continue;
        }
        if (rs.ContinuesPrevious != 0) {
            rs.ContinuesPrevious = 0;
            rs.Phase = table[i - 1].Render.Phase;
            rs.LastOut = table[i - 1].Render.LastOut;
        }
        const double t = static_cast<double>(n - rs.StartSample) / rs.LengthSamples;
        double f = rs.FreqStart + rs.FreqDelta * CurvePower(t, o.CurveShape0) + rs.NoiseOffset;
        double a = o.StartA + rs.AmpDelta * CurvePower(t, o.CurveShape1);
        // A modulator outside the table acts as none.
        if (o.FMModBy >= 0 && o.FMModBy < oscillators) {
            const double m = table[o.FMModBy].Render.LastOut;
            if (o.FMModFac >= 0) {
                f = f + f * m * o.FMModFac;
            } else if (o.FMModFac < 0) {
                f = -(f * m * o.FMModFac);
            }
        }
        if (o.AMModBy >= 0 && o.AMModBy < oscillators) {
            const double m = table[o.AMModBy].Render.LastOut;
            if (o.AMModFac >= 0) {
                a = a + a * m * o.AMModFac;
            } else if (o.AMModFac < 0) {
                a = -(a * m * o.AMModFac);
            }
        }
        if (o.Filter != 0) {
            const double v = (mix - rs.LastOut) * f + a * rs.Phase;
            rs.Phase = v;
            rs.LastOut = rs.LastOut + v;
            if (o.Enabled == On) {
                mix = rs.LastOut;
            }
            continue;
        }
        rs.Phase = rs.Phase + f;
        const double value = OscillatorValue(o) * a;
        if (o.Enabled == On) {
            mix = mix + value;
        }
        if (o.NoiseBW > 0) {
            if (o.NoiseChangeRate == 0) {
                if (value * rs.LastOut < 0) {
                    rs.NoiseOffset = (2.0 * NoiseRandom() - 1.0) * o.NoiseBW * f;
                }
            } else {
                if (rs.NoiseCounter < INT32_MAX) {
                    ++rs.NoiseCounter;
                }
                if (rs.NoiseCounter > o.NoiseChangeRate) {
                    rs.NoiseOffset = (2.0 * NoiseRandom() - 1.0) * o.NoiseBW * f;
                    rs.NoiseCounter = 0;
                }
            }
        }
        rs.LastOut = value;
    }
    return {mix, anyActive};
}

void FinishRender(OscillatorTable& table, int count) {
    const int n = ClampCount(count);
    for (int i = 0; i < n; ++i) {
        CloseWavSource(table[i]);
        ResetRenderState(table[i]);
    }
}

double RenderPeak(OscillatorTable& table, int count, std::int32_t sampleFrequency) {
    const std::int32_t maxEnd = PrepareRender(table, count, sampleFrequency);
    double peak = 0.0;
    for (std::int32_t n = 0; n <= maxEnd; ++n) {
        const SampleResult result = RenderSample(table, count, n);
        const double magnitude = std::fabs(result.Mix);
        if (magnitude > peak) {
            peak = magnitude;
        }
        if (!result.AnyActive) {
            break;
        }
    }
    FinishRender(table, count);
    return peak;
}

} // namespace kettrik
