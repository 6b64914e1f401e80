// Frequencies as note names with octave and cents (440 Hz is A3), both ways, and the texts
// of the frequency boxes. Plain functions, so the tables can be checked without a widget.
#pragma once

#include <string>
#include <string_view>

namespace kettrik {

// Where a frequency lies on the equal-tempered scale.
struct NotePosition {
    int Index = 0;          // 0 (C) to 11 (B)
    int Octave = 0;         // C to B; A3 is 440 Hz
    double Remainder = 0.0; // semitones from the nearest note, -0.5 to +0.5
    int Semitones = 0;      // the nearest note, in semitones from C4
};

// "C", "C#", ... "B" for index 0 to 11; empty otherwise.
std::string_view NoteName(int index);

// For a frequency above 0. Out-of-scale values (0, negative, NaN, infinities) give C4+0,
// which callers never show: they show such values as plain numbers.
NotePosition FrequencyToNote(double hertz);
// 440 x 2^((index + 12 (octave - 4) + 3 + cents / 100) / 12); 0 when that is not finite.
double NoteToFrequency(int index, int octave, double cents);

// "%s%d%s%02.2g": name, octave, sign and the cents with two significant digits, at least two
// characters, zero-padded.
std::string NoteText(const NotePosition& note);

// What a frequency box shows for a value. With snap (and snapToNotes) a shown note's value is
// moved onto the note's exact frequency; snapping happens before the octave test, so a value
// outside octaves 0 to 9 is snapped and then shown in Hz.
std::string FrequencyText(double& value, bool snap, bool noteCapable, bool showNotes,
                          bool snapToNotes);

// The value a frequency box's text stands for: a note name with octave digit and optional
// cents ("A3", "c#4-12"), else the leading number. A name without anything after it ("A#")
// reads as 0, like other text without a number.
double ReadFrequencyText(std::string_view text);

} // namespace kettrik
