#include "editors/note_names.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/number_text.h"

namespace kettrik {

namespace {

constexpr std::array<std::string_view, 12> Names = {"C",  "C#", "D",  "D#", "E",  "F",
                                                    "F#", "G",  "G#", "A",  "A#", "B"};

// The semitone ratio and 1/440 as the stored constants, so the texts agree digit for digit
// with the tables users compare against.
const double SemitoneRatio = std::pow(2.0, 0.08333333333333333);
constexpr double InverseA = 0.0022727272727272726;

// Far beyond any audible note, small enough for exact integer arithmetic.
constexpr double SemitoneLimit = 100000.0;

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithName(std::string_view text, std::string_view name) {
    if (text.size() < name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (UpperAscii(text[i]) != name[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string_view NoteName(int index) {
    return index >= 0 && index < 12 ? Names[static_cast<std::size_t>(index)] : std::string_view{};
}

NotePosition FrequencyToNote(double hertz) {
    NotePosition note;
    note.Octave = 4;
    if (!(hertz > 0.0) || !std::isfinite(hertz)) {
        return note;
    }
    const double d = std::log(hertz * InverseA) / std::log(SemitoneRatio) - 3.0;
    const double clamped = std::clamp(d, -SemitoneLimit, SemitoneLimit);
    const int n = static_cast<int>(std::trunc(clamped + 500.5)) - 500;
    note.Semitones = n;
    note.Remainder = d - n;
    const int octaves = static_cast<int>(std::floor(n / 12.0));
    note.Octave = 4 + octaves;
    note.Index = n - 12 * octaves;
    return note;
}

double NoteToFrequency(int index, int octave, double cents) {
    const double exponent = index + 12.0 * (octave - 4.0) + 3.0 + cents * 0.01;
    const double hertz = 440.0 * std::pow(SemitoneRatio, exponent);
    return std::isfinite(hertz) ? hertz : 0.0;
}

std::string NoteText(const NotePosition& note) {
    std::string cents = FormatGeneral(std::fabs(note.Remainder * 100.0), 2);
    if (cents.size() < 2) {
        cents.insert(0, 2 - cents.size(), '0');
    }
    return std::string(NoteName(note.Index)) + FormatInt(note.Octave) +
           (note.Remainder >= 0.0 ? "+" : "-") + cents;
}

std::string FrequencyText(double& value, bool snap, bool noteCapable, bool showNotes,
                          bool snapToNotes) {
    if (!noteCapable || !showNotes || !(value > 0.0) || !std::isfinite(value)) {
        return FormatGeneral(value, 5);
    }
    NotePosition note = FrequencyToNote(value);
    if (snap && snapToNotes) {
        value = 440.0 * std::pow(SemitoneRatio, note.Semitones + 3.0);
        note.Remainder = 0.0;
    }
    if (note.Octave < 0 || note.Octave > 9) {
        return FormatGeneral(value, 5);
    }
    return NoteText(note);
}

double ReadFrequencyText(std::string_view text) {
    if (text.size() < 2) {
        return ParseReal(text);
    }
    int index = -1;
    for (int i = 0; i < 12; ++i) {
        if (StartsWithName(text, Names[static_cast<std::size_t>(i)])) {
            index = i; // the last match wins: C# over C
        }
    }
    if (index < 0) {
        return ParseReal(text);
    }
    const std::size_t nameLength = Names[static_cast<std::size_t>(index)].size();
    if (text.size() <= nameLength) {
        return 0.0;
    }
    // Whatever character follows the name is taken as the octave digit, as typed.
    const int octave = static_cast<unsigned char>(text[nameLength]) - '0';
    const double cents = ParseReal(text.substr(nameLength + 1));
    return NoteToFrequency(index, octave, cents);
}

} // namespace kettrik
