// Sound files (.ktu, .ktp): one [Common] section and one [Oscillator N] section per oscillator.
//
// Texts (WavFile, Comment) are written verbatim when they hold no control character; else
// each control character is written as a blank. When the main key alone would not read back
// the text exactly (a control character, a blank at either end, a pair of enclosing quotes)
// a companion key WavFileEscaped / CommentEscaped follows it, holding the text with "\\"
// for a backslash and "\xHH" for control characters, quotes and blanks at either end; it is
// removed when no longer needed. A reader takes the companion only when it decodes and agrees
// with what the main key reads, so files edited by other programs read as the main key says.
#pragma once

#include <string>

#include "model/sound.h"

namespace kettrik {

// Reads a sound. Always gives a usable sound: a missing or unreadable file reads as the
// defaults (one Off oscillator at 22050 Hz). Count is the stored last position + 1, limited
// to 1..MaxOscillators (a negative position reads as one oscillator). Every byte of the
// sound is set: slots beyond Count hold new oscillators (NewOscillator).
void LoadSound(const std::string& path, Sound& sound);

// Writes the sound's keys into the file, keeping every other section and key that is there.
// The file is read once, updated in memory and written once, atomically. False when the
// existing file could not be read or the new one could not be written; the file on disk is
// then unchanged. A Count outside 1..MaxOscillators is written as the nearest limit.
bool SaveSound(const std::string& path, const Sound& sound);

// True when the file's [Common] section has an Oscillators key.
bool IsSoundFile(const std::string& path);

// The comment of oscillator 0 (companion key included), at most 127 characters, read
// straight from the file.
std::string ReadCommentPreview(const std::string& path);

} // namespace kettrik
