// WAV files used as oscillator waveforms. The file stays open for one render (or one preview
// drawing) and frames are read on demand through a small block cache, never one system call
// per sample and never outside the file, whatever its header claims.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "model/sound.h"

namespace kettrik {

// How the engine tells its user about a file it refuses. The window shows a message box with
// this text and title, the command line prints a line; without a handler nothing is shown.
using WavMessageHandler = std::function<void(std::string_view text, std::string_view title)>;
void SetWavMessageHandler(WavMessageHandler handler);

inline constexpr std::string_view CompressedWavMessage =
    "Sorry, compressed wav, i dont grok that yet!";
inline constexpr std::string_view CompressedWavTitle = "Kettrik";

// Does nothing unless the oscillator's WaveForm is WavFileWave. Afterwards the source is
// either open (Render.Source.Cache set, at least one frame) or absent (all fields zero).
// Reopening an open source closes it first. Files in a format it cannot decode call the
// message handler once per open; missing or malformed files stay absent silently.
void OpenWavSource(Oscillator& oscillator);
// Closes an open source (whatever the waveform has become) and clears the source fields;
// for WAV-file oscillators the fields are cleared even when nothing was open.
void CloseWavSource(Oscillator& oscillator);

// First-channel sample of frame j, -1 to 1; 0 for an absent source or a frame outside it.
// Cheap for a frame in the cached block; other frames refill the block from the file.
double ReadWavFrame(const WavSource& source, std::int64_t frame);

} // namespace kettrik
