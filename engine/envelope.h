// The time window of an oscillator in samples, and the power curve its envelopes follow.
// The renderer and the curve display both use these, so what is drawn is what is heard.
#pragma once

#include <cstdint>

namespace kettrik {

// Sample indices are kept within +-(2^30 - 1): far beyond any real sound (6 hours at
// 48 kHz), and small enough that window lengths fit 32 bits and a WAV header's sizes never
// overflow.
inline constexpr std::int32_t MaxSampleIndex = (1 << 30) - 1;

// (rate x ms) x 0.001 truncated toward zero; NaN reads as 0, and values beyond the limit
// are clamped, never wrapped.
std::int32_t TimeToSample(double milliseconds, std::int32_t sampleFrequency);

// start + (end - start) x t^shape. A negative or NaN shape acts as 0: the envelope sits at
// its end value from the first sample, instead of running to infinity at t = 0.
double EnvelopeValue(double start, double end, double shape, double t);

// t^shape with the same rule for shapes below 0; used per sample by the renderer.
double CurvePower(double t, double shape);

} // namespace kettrik
