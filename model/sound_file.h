// Sound files (.ktu, .ktp): one [Common] section and one [Oscillator N] section per oscillator.
#pragma once

#include <string>

#include "model/sound.h"

namespace kettrik {

// Reads a sound. Always gives a usable sound: a missing or unreadable file reads as the
// defaults (one Off oscillator at 22050 Hz). Count is the stored last position + 1, limited
// to 1..MaxOscillators.
void LoadSound(const std::string& path, Sound& sound);

// Writes the sound's keys into the file, keeping every other section and key that is there.
// The file is read once, updated in memory and written once, atomically. False when the
// existing file could not be read or the new one could not be written; the file on disk is
// then unchanged.
bool SaveSound(const std::string& path, const Sound& sound);

// True when the file's [Common] section has an Oscillators key.
bool IsSoundFile(const std::string& path);

// The comment of oscillator 0, at most 127 characters, read straight from the file.
std::string ReadCommentPreview(const std::string& path);

} // namespace kettrik
