#include "model/snapshot.h"

#include <cstring>

namespace kettrik {

namespace {

// Whole blocks are compared with memcmp first: a commit follows every small edit and must
// stay cheap on a full table.
constexpr std::size_t Block = 256;

std::size_t FirstDifference(const unsigned char* a, const unsigned char* b, std::size_t size) {
    std::size_t first = 0;
    while (size - first >= Block && std::memcmp(a + first, b + first, Block) == 0) {
        first += Block;
    }
    while (first < size && a[first] == b[first]) {
        ++first;
    }
    return first;
}

// One past the last differing byte at or after `first`.
std::size_t EndOfDifference(const unsigned char* a, const unsigned char* b, std::size_t first,
                            std::size_t size) {
    std::size_t end = size;
    while (end - first >= Block && std::memcmp(a + end - Block, b + end - Block, Block) == 0) {
        end -= Block;
    }
    while (end > first && a[end - 1] == b[end - 1]) {
        --end;
    }
    return end;
}

} // namespace

TableChange FindChange(const Sound& sound, const Snapshot& snapshot) {
    const auto* now = reinterpret_cast<const unsigned char*>(sound.Oscillators.data());
    const auto* then = reinterpret_cast<const unsigned char*>(snapshot.Oscillators.data());
    constexpr std::size_t size = sizeof(OscillatorTable);
    TableChange change;
    const std::size_t first = FirstDifference(now, then, size);
    if (first < size) {
        change.Changed = true;
        change.First = first;
        change.End = EndOfDifference(now, then, first, size);
    }
    if (sound.Count != snapshot.Count || sound.SampleFrequency != snapshot.SampleFrequency) {
        change.Changed = true;
    }
    return change;
}

void TakeSnapshot(Snapshot& snapshot, const Sound& sound, int selectedOscillator,
                  int selectedPage) {
    std::memcpy(snapshot.Oscillators.data(), sound.Oscillators.data(), sizeof(OscillatorTable));
    snapshot.Count = sound.Count;
    snapshot.SampleFrequency = sound.SampleFrequency;
    snapshot.SelectedOscillator = selectedOscillator;
    snapshot.SelectedPage = selectedPage;
}

} // namespace kettrik
