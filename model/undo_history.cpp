#include "model/undo_history.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kettrik {

bool UndoHistory::Record(const Snapshot& snapshot, const TableChange& change) {
    const std::size_t end = std::min(change.End, sizeof(OscillatorTable));
    const std::size_t first = std::min(change.First, end);
    try {
        UndoStep step{snapshot.SelectedOscillator, snapshot.SelectedPage, {}, first,
                      snapshot.SampleFrequency,    snapshot.Count};
        const auto* bytes = reinterpret_cast<const unsigned char*>(snapshot.Oscillators.data());
        step.Bytes.assign(bytes + first, bytes + end);
        steps_.push_back(std::move(step));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void UndoHistory::DropNewest() {
    if (!steps_.empty()) {
        steps_.pop_back();
    }
}

void UndoHistory::Clear() {
    steps_.clear();
    steps_.shrink_to_fit();
}

void ApplyUndoStep(Sound& sound, const UndoStep& step) {
    constexpr std::size_t size = sizeof(OscillatorTable);
    if (step.Offset <= size && step.Bytes.size() <= size - step.Offset && !step.Bytes.empty()) {
        auto* table = reinterpret_cast<unsigned char*>(sound.Oscillators.data());
        std::memcpy(table + step.Offset, step.Bytes.data(), step.Bytes.size());
    }
    sound.Count = step.Count;
    sound.SampleFrequency = step.SampleFrequency;
}

CommitOutcome CommitTable(const Sound& sound, Snapshot& snapshot, UndoHistory& history,
                          int selectedOscillator, int selectedPage) {
    const TableChange change = FindChange(sound, snapshot);
    if (!change.Changed) {
        return CommitOutcome::NoChange;
    }
    if (!history.Record(snapshot, change)) {
        return CommitOutcome::NotRecorded;
    }
    // Outside the changed range the snapshot already equals the table.
    auto* then = reinterpret_cast<unsigned char*>(snapshot.Oscillators.data());
    const auto* now = reinterpret_cast<const unsigned char*>(sound.Oscillators.data());
    if (change.End > change.First && change.End <= sizeof(OscillatorTable)) {
        std::memcpy(then + change.First, now + change.First, change.End - change.First);
    }
    snapshot.Count = sound.Count;
    snapshot.SampleFrequency = sound.SampleFrequency;
    snapshot.SelectedOscillator = selectedOscillator;
    snapshot.SelectedPage = selectedPage;
    return CommitOutcome::Recorded;
}

} // namespace kettrik
