#include "model/sound.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kettrik {

void SetText(char (&field)[TextCapacity], std::string_view text) {
    const std::size_t used = std::min<std::size_t>(text.size(), TextCapacity - 1);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), used);
}

std::string_view GetText(const char (&field)[TextCapacity]) {
    const void* end = std::memchr(field, 0, sizeof field);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : TextCapacity;
    return {field, length};
}

void NewOscillator(Oscillator& oscillator) {
    std::memset(&oscillator, 0, sizeof oscillator);
    oscillator.NextLinked = NoOscillator;
    oscillator.PrevLinked = NoOscillator;
    oscillator.StartF = 2000;
    oscillator.EndT = 200;
    oscillator.StartA = 0.95;
    oscillator.CurveShape0 = 0.1;
    oscillator.CurveShape1 = 8;
    oscillator.CurveShape2 = 1;
    oscillator.FMModBy = NoOscillator;
    oscillator.AMModBy = NoOscillator;
}

void NewSound(Sound& sound) {
    std::memset(&sound, 0, sizeof sound);
    sound.SampleFrequency = 22050;
    sound.Count = 1;
    for (Oscillator& slot : sound.Oscillators) {
        NewOscillator(slot);
    }
    sound.Oscillators[0].Enabled = On;
}

int ClampCount(int count) {
    return std::clamp(count, 0, MaxOscillators);
}

namespace {

// "Closer than the limit": a difference that is the limit itself, up to the rounding of
// decimal values in binary (0.6 - 0.5 is 0.09999999999999998), does not count as closer.
bool Closer(double a, double b, double limit) {
    return std::fabs(a - b) < limit * (1 - 1e-9);
}

} // namespace

void LinkOscillators(OscillatorTable& table, int count) {
    const int n = ClampCount(count);
    for (int i = 0; i < n; ++i) {
        table[i].NextLinked = NoOscillator;
        table[i].PrevLinked = NoOscillator;
    }
    for (int i = 0; i + 1 < n; ++i) {
        const Oscillator& a = table[i];
        const Oscillator& b = table[i + 1];
        if (a.EndT == b.StartT && Closer(a.EndF, b.StartF, 1.0) && Closer(a.EndA, b.StartA, 0.1) &&
            a.Enabled == b.Enabled && a.Filter == b.Filter) {
            table[i].NextLinked = i + 1;
            table[i + 1].PrevLinked = i;
        }
    }
}

void SetSolo(Sound& sound, int selected, bool on) {
    const int n = ClampCount(sound.Count);
    if (!on) {
        for (int i = 0; i < n; ++i) {
            sound.Oscillators[i].Enabled = sound.Oscillators[i].EnabledBeforeSolo;
        }
        return;
    }
    const bool selectedIsFilter =
        selected >= 0 && selected < n && sound.Oscillators[selected].Filter != 0;
    for (int i = 0; i < n; ++i) {
        Oscillator& o = sound.Oscillators[i];
        o.EnabledBeforeSolo = o.Enabled;
        if (o.Enabled == On && (i > selected || (i < selected && !selectedIsFilter))) {
            o.Enabled = Off;
        }
    }
}

void ResetRenderState(Oscillator& oscillator) {
    std::memset(&oscillator.Render, 0, sizeof oscillator.Render);
}

} // namespace kettrik
