#include "model/snapshot.h"

#include <cstring>

namespace kettrik {

TableChange FindChange(const Sound& sound, const Snapshot& snapshot) {
    const auto* now = reinterpret_cast<const unsigned char*>(sound.Oscillators.data());
    const auto* then = reinterpret_cast<const unsigned char*>(snapshot.Oscillators.data());
    constexpr std::size_t size = sizeof(OscillatorTable);
    TableChange change;
    std::size_t first = 0;
    while (first < size && now[first] == then[first]) {
        ++first;
    }
    if (first < size) {
        std::size_t end = size;
        while (end > first && now[end - 1] == then[end - 1]) {
            --end;
        }
        change.Changed = true;
        change.First = first;
        change.End = end;
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
