// Inserting and deleting oscillators in the table, keeping the modulation references (which
// are positions in the same table) pointing at the same oscillators; and the program's own
// one-oscillator clipboard.
#pragma once

#include "model/sound.h"

namespace kettrik {

// Puts a copy of `record` (a NewOscillator when null) at `position`, 0 to Count, moving the
// oscillators from there one slot up and raising every reference to them. The inserted
// record keeps its own references as they are. False, changing nothing, when the table is
// full or the position lies outside 0 to Count.
bool InsertOscillator(Sound& sound, int position, const Oscillator* record = nullptr);

// Removes the oscillator at `position`: references to it become NoOscillator, references to
// the ones above it are lowered. False, changing nothing, when only one oscillator is left
// or the position lies outside 0 to Count - 1.
bool DeleteOscillator(Sound& sound, int position);

// True when the table can take one more oscillator.
bool CanGrow(const Sound& sound);

struct OscillatorClipboard {
    Oscillator Record{};
    bool Holds = false;
};

} // namespace kettrik
