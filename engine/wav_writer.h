// Rendering a sound into a 16-bit mono PCM WAV file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/sound.h"

namespace kettrik {

// The waveform drawn into the window's status area while a sound renders: one column per
// group of samples, a vertical segment from the previous point to the new one.
struct RenderProgress {
    int Left, Top, Right, Bottom;
    int X;
    int Scale;
    int Centre;
    int PreviousY;
    std::int64_t SamplesPerColumn;
    std::int64_t Countdown;
};

// A segment of one column to fill (in the area's coordinates), from Y0 to Y1 inclusive.
struct ProgressSegment {
    bool Draw;
    int X;
    int Y0;
    int Y1;
};

void SetupRenderProgress(RenderProgress& progress, const OscillatorTable& table, int count,
                         std::int32_t sampleFrequency, int left, int top, int right, int bottom);
// One clipped sample; says which segment to draw, if any.
ProgressSegment AdvanceRenderProgress(RenderProgress& progress, double clippedSample);

// Called for every rendered sample, after clipping, including the final silent one.
using SampleHook = std::function<void(double clippedSample)>;

struct RenderOutcome {
    bool Written;         // false: the file could not be created or written
    double Peak;          // largest |sample| before clipping (0 when nothing was written)
    std::int32_t Samples; // samples written
};

// Renders the whole sound into path (written atomically). The render state is cleared and
// WAV sources closed whatever happens.
RenderOutcome RenderToWav(const std::string& path, OscillatorTable& table,
                          std::int32_t sampleFrequency, int count,
                          const SampleHook* hook = nullptr);

// The 16-bit value written for a sample: clipped to -1..1, times 32760, truncated; NaN is 0.
double ClipSample(double sample);
std::int16_t SampleToPcm16(double clippedSample);

} // namespace kettrik
