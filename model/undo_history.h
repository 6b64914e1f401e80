// The undo history: each step keeps, from the snapshot before a change, only the byte range of
// the stored table that the change touched, with the count, sample frequency and selections
// of that moment. There is no redo: undoing records nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/snapshot.h"
#include "model/sound.h"

namespace kettrik {

struct UndoStep {
    std::int32_t SelectedOscillator;
    std::int32_t SelectedPage;
    std::vector<unsigned char> Bytes; // the snapshot's bytes from Offset, Bytes.size() long
    std::size_t Offset;
    std::int32_t SampleFrequency;
    std::int32_t Count;
};

class UndoHistory {
public:
    bool Empty() const { return steps_.empty(); }
    std::size_t Size() const { return steps_.size(); }
    // The newest step, or null when there is none.
    const UndoStep* Newest() const { return steps_.empty() ? nullptr : &steps_.back(); }

    // Keeps the snapshot's side of the change as the newest step. False when memory for the
    // step could not be had: nothing is recorded then.
    bool Record(const Snapshot& snapshot, const TableChange& change);
    void DropNewest();
    void Clear();

private:
    std::vector<UndoStep> steps_; // oldest first; steps_ grows without a limit but memory
};

// Puts the step's bytes back into the table at their offset and restores Count and
// SampleFrequency. A step whose range does not lie inside the table changes nothing.
void ApplyUndoStep(Sound& sound, const UndoStep& step);

// What a commit found.
enum class CommitOutcome {
    NoChange,    // table, count and sample frequency as in the snapshot
    Recorded,    // a step was recorded and the snapshot brought up to date
    NotRecorded, // changed, but no memory for the step: the next commit finds it again
};

// The model's side of committing an edit: compare with the snapshot, record the change as a
// step and bring the snapshot up to date with the selections given.
CommitOutcome CommitTable(const Sound& sound, Snapshot& snapshot, UndoHistory& history,
                          int selectedOscillator, int selectedPage);

} // namespace kettrik
