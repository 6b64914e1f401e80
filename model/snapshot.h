// The sound as it was at the last commit, and the comparison that finds what an editing
// gesture changed. Changes are found by comparing the whole stored table, never by flags set
// at each edit, so nothing an editor forgets to report can be lost.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/sound.h"

namespace kettrik {

struct Snapshot {
    OscillatorTable Oscillators;
    std::int32_t Count;
    std::int32_t SampleFrequency;
    std::int32_t SelectedOscillator; // 0-based, at the moment of the snapshot
    std::int32_t SelectedPage;       // parameter tab: 0, 1 or 2
};

// What differs between a sound and its snapshot. The byte range covers the stored table from
// the first to the last differing byte (End is one past it); it is empty when only Count or
// SampleFrequency changed.
struct TableChange {
    bool Changed = false;
    std::size_t First = 0;
    std::size_t End = 0;
};

TableChange FindChange(const Sound& sound, const Snapshot& snapshot);

// The whole table, Count and SampleFrequency into the snapshot, with the selections given.
void TakeSnapshot(Snapshot& snapshot, const Sound& sound, int selectedOscillator, int selectedPage);

} // namespace kettrik
