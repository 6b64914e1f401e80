// The tempo loop replays the sound once every few beats: the fewest beats (1, 2, 4, 8, ...)
// that leave room for the whole sound plus a tenth.
#pragma once

#include <optional>

#include "model/sound.h"

namespace kettrik {

// The largest EndT of the oscillators that are not Off, at least 0.
double LongestSoundingEndT(const Sound& sound);

// The loop's period in whole milliseconds, or nothing when the tempo cannot drive a loop
// (0, negative, not a number, or so slow or fast that the period is not a sensible timer).
std::optional<int> TempoLoopPeriod(double tempo, double longestEndT);

} // namespace kettrik
