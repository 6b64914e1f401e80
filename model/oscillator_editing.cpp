#include "model/oscillator_editing.h"

#include <cstring>

namespace kettrik {

namespace {

// Applies `renumber` to both modulation references of oscillators first to end - 1, except
// the one at `skip`.
template <typename Renumber>
void RenumberReferences(Sound& sound, int end, int skip, Renumber renumber) {
    for (int i = 0; i < end; ++i) {
        if (i == skip) {
            continue;
        }
        Oscillator& oscillator = sound.Oscillators[static_cast<std::size_t>(i)];
        oscillator.FMModBy = renumber(oscillator.FMModBy);
        oscillator.AMModBy = renumber(oscillator.AMModBy);
    }
}

} // namespace

bool CanGrow(const Sound& sound) {
    return sound.Count >= 0 && sound.Count < MaxOscillators;
}

bool InsertOscillator(Sound& sound, int position, const Oscillator* record) {
    if (!CanGrow(sound) || position < 0 || position > sound.Count) {
        return false;
    }
    const int count = sound.Count;
    Oscillator* slots = sound.Oscillators.data();
    std::memmove(slots + position + 1, slots + position,
                 static_cast<std::size_t>(count - position) * sizeof(Oscillator));
    sound.Count = count + 1;
    RenumberReferences(sound, sound.Count, position,
                       [position](std::int32_t ref) { return ref >= position ? ref + 1 : ref; });
    Oscillator& inserted = slots[position];
    if (record != nullptr) {
        std::memcpy(&inserted, record, sizeof(Oscillator));
    } else {
        NewOscillator(inserted);
    }
    return true;
}

bool DeleteOscillator(Sound& sound, int position) {
    const int count = ClampCount(sound.Count);
    if (count <= 1 || position < 0 || position >= count) {
        return false;
    }
    Oscillator* slots = sound.Oscillators.data();
    std::memmove(slots + position, slots + position + 1,
                 static_cast<std::size_t>(count - position - 1) * sizeof(Oscillator));
    sound.Count = count - 1;
    RenumberReferences(sound, sound.Count, -1, [position](std::int32_t ref) {
        if (ref == position) {
            return std::int32_t{NoOscillator};
        }
        return ref > position ? ref - 1 : ref;
    });
    return true;
}

} // namespace kettrik
