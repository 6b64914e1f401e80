#include "engine/wav_reader.h"
// Placeholder until the reader lands.
namespace kettrik {
void SetWavMessageHandler(WavMessageHandler) {}
void OpenWavSource(Oscillator&) {}
void CloseWavSource(Oscillator&) {}
double ReadWavFrame(const WavSource&, std::int64_t) { return 0; }
} // namespace kettrik
