#include "app/tempo_loop.h"

#include <algorithm>
#include <cmath>

namespace kettrik {

namespace {

// A day: any longer period is no loop a user would wait for.
constexpr double LongestPeriodMs = 24.0 * 60.0 * 60.0 * 1000.0;

} // namespace

double LongestSoundingEndT(const Sound& sound) {
    double longest = 0.0;
    const int count = ClampCount(sound.Count);
    for (int i = 0; i < count; ++i) {
        const Oscillator& oscillator = sound.Oscillators[i];
        if (oscillator.Enabled != Off && oscillator.EndT > longest) {
            longest = oscillator.EndT;
        }
    }
    return longest;
}

std::optional<int> TempoLoopPeriod(double tempo, double longestEndT) {
    if (!std::isfinite(tempo) || tempo <= 0.0) {
        return std::nullopt;
    }
    double period = 60000.0 / tempo;
    const double room = std::isfinite(longestEndT) ? std::min(longestEndT, LongestPeriodMs) : 0.0;
    while (period * 1.1 < room) {
        period *= 2.0;
    }
    if (!(period >= 1.0) || period > LongestPeriodMs) {
        return std::nullopt;
    }
    return static_cast<int>(period);
}

} // namespace kettrik
