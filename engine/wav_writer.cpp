#include "engine/wav_writer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/render.h"
#include "model/atomic_file.h"

namespace kettrik {

namespace {

void PutLe16(unsigned char* out, std::uint16_t v) {
    out[0] = static_cast<unsigned char>(v & 0xFFu);
    out[1] = static_cast<unsigned char>(v >> 8);
}

void PutLe32(unsigned char* out, std::uint32_t v) {
    PutLe16(out, static_cast<std::uint16_t>(v & 0xFFFFu));
    PutLe16(out + 2, static_cast<std::uint16_t>(v >> 16));
}

std::array<unsigned char, 44> WavHeader(std::int32_t sampleFrequency, std::int32_t samples) {
    // Sample counts are limited to 2^30, so 36 + 2N always fits the 32-bit size fields.
    const auto dataBytes = static_cast<std::uint32_t>(samples) * 2u;
    const auto rate = static_cast<std::uint32_t>(sampleFrequency);
    std::array<unsigned char, 44> h{};
    std::copy_n("RIFF", 4, h.begin());
    PutLe32(&h[4], 36u + dataBytes);
    std::copy_n("WAVEfmt ", 8, h.begin() + 8);
    PutLe32(&h[16], 16);
    PutLe16(&h[20], 1);
    PutLe16(&h[22], 1);
    PutLe32(&h[24], rate);
    PutLe32(&h[28], rate * 2u);
    PutLe16(&h[32], 2);
    PutLe16(&h[34], 16);
    std::copy_n("data", 4, h.begin() + 36);
    PutLe32(&h[40], dataBytes);
    return h;
}

// Largest EndT of the oscillators that are heard or computed, at least 0.
double LongestEndT(const OscillatorTable& table, int count) {
    double longest = 0.0;
    const int n = ClampCount(count);
    for (int i = 0; i < n; ++i) {
        if (table[i].Enabled != Off && table[i].EndT > longest) {
            longest = table[i].EndT;
        }
    }
    return longest;
}

int TruncatedToInt(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

} // namespace

double ClipSample(double sample) {
    if (std::isnan(sample)) {
        return 0.0;
    }
    return std::clamp(sample, -1.0, 1.0);
}

std::int16_t SampleToPcm16(double clippedSample) {
    return static_cast<std::int16_t>(static_cast<int>(ClipSample(clippedSample) * 32760.0));
}

void SetupRenderProgress(RenderProgress& progress, const OscillatorTable& table, int count,
                         std::int32_t sampleFrequency, int left, int top, int right, int bottom) {
    progress = RenderProgress{};
    progress.Left = left;
    progress.Top = top;
    progress.Right = right;
    progress.Bottom = bottom;
    progress.Centre = TruncatedToInt((bottom - top) * 0.5 + top);
    const double total = LongestEndT(table, count) * 0.001 * sampleFrequency;
    const std::int64_t totalSamples =
        std::isnan(total) ? 0 : static_cast<std::int64_t>(std::clamp(total, 0.0, 4.0e18));
    const int width = right - left;
    progress.SamplesPerColumn = (width > 0 ? totalSamples / width : totalSamples) + 1;
    progress.Scale = TruncatedToInt((bottom - top) * 0.48);
    progress.X = 0;
    progress.PreviousY = progress.Centre;
    progress.Countdown = 0;
}

ProgressSegment AdvanceRenderProgress(RenderProgress& progress, double clippedSample) {
    ProgressSegment segment{false, 0, 0, 0};
    if (progress.Countdown <= 0) {
        progress.Countdown = progress.SamplesPerColumn;
        const int y = TruncatedToInt(progress.Scale * ClipSample(clippedSample) + progress.Centre);
        segment = {true, progress.X, std::min(y, progress.PreviousY),
                   std::max(y, progress.PreviousY)};
        progress.PreviousY = y;
        progress.X += 1;
    }
    progress.Countdown -= 1;
    return segment;
}

RenderOutcome RenderToWav(const std::string& path, OscillatorTable& table,
                          std::int32_t sampleFrequency, int count, const SampleHook* hook) {
    const std::int32_t maxEnd = PrepareRender(table, count, sampleFrequency);
    AtomicFileWriter file;
    if (!file.Open(path)) {
        FinishRender(table, count);
        return {false, 0.0, 0};
    }
    const auto header = WavHeader(sampleFrequency, maxEnd);
    file.Write(header.data(), header.size());

    constexpr std::size_t BlockSamples = 8192;
    std::array<unsigned char, BlockSamples * 2> block{};
    std::size_t used = 0;
    double peak = 0.0;
    std::int32_t written = 0;
    for (std::int32_t n = 0;; ++n) {
        const SampleResult result = RenderSample(table, count, n);
        const double magnitude = std::fabs(result.Mix);
        if (magnitude > peak) {
            peak = magnitude;
        }
        const double clipped = ClipSample(result.Mix);
        if (hook != nullptr && *hook) {
            (*hook)(clipped);
        }
        // The render ends where no oscillator is active, which is MaxEnd; the second test
        // only keeps the header true should the two ever disagree.
        if (!result.AnyActive || written >= maxEnd) {
            break;
        }
        PutLe16(&block[used], static_cast<std::uint16_t>(SampleToPcm16(clipped)));
        used += 2;
        ++written;
        if (used == block.size()) {
            file.Write(block.data(), used);
            used = 0;
        }
    }
    file.Write(block.data(), used);
    if (written < maxEnd) {
        // Cannot happen while RenderSample and PrepareRender agree; pad so the file is valid.
        const std::array<unsigned char, 2> silence{};
        for (; written < maxEnd; ++written) {
            file.Write(silence.data(), silence.size());
        }
    }
    const bool ok = file.Commit();
    FinishRender(table, count);
    return {ok, peak, ok ? written : 0};
}

} // namespace kettrik
