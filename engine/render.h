// The synthesis engine: renders an oscillator table sample by sample. The working state
// lives in the records' RenderState, so one table is rendered by one render at a time.
// Not re-entrant for one table; the noise generator is one state for the whole process
// (safe to call from several threads, but renders on two threads interleave its numbers).
#pragma once

#include <cstdint>

#include "model/sound.h"

namespace kettrik {

// Computes each oscillator's RenderState and opens WAV sources. Returns MaxEnd, the number
// of samples the sound lasts.
std::int32_t PrepareRender(OscillatorTable& table, int count, std::int32_t sampleFrequency);

struct SampleResult {
    double Mix;
    bool AnyActive;
};

// Sample n of the sound; call with n = 0, 1, 2, ... in order after PrepareRender.
SampleResult RenderSample(OscillatorTable& table, int count, std::int32_t n);

// Closes WAV sources and clears every RenderState.
void FinishRender(OscillatorTable& table, int count);

// A whole render that writes nothing: the largest |sample| before clipping.
double RenderPeak(OscillatorTable& table, int count, std::int32_t sampleFrequency);

// The waveform at the oscillator's Phase, shaped by CurveShape2, between -1 and 1. A WAV-file
// oscillator without an open source gives 0.
double OscillatorValue(const Oscillator& oscillator);

// The process-wide generator: next value from 0 to 1 inclusive.
double NoiseRandom();
// Next raw value, 0 to 32767 (temporary file names use it too).
std::int32_t NoiseRandomInt();
// The generator starts at state 1 with the process; tests put it back there.
void SetNoiseRandomState(std::uint32_t state);
std::uint32_t NoiseRandomState();

} // namespace kettrik
