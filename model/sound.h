// The sound being edited: a sample frequency and a fixed table of oscillator records.
//
// Every record here is a plain, fixed-size block of bytes with no implicit padding, so
// the undo history and the clipboard can compare and copy whole tables with memcmp and
// memcpy, and two equal sounds are equal byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace kettrik {

inline constexpr int MaxOscillators = 128;
inline constexpr int NoOscillator = -1;
inline constexpr int TextCapacity = 256; // characters of WavFile and Comment, terminator included

enum EnabledState : std::int32_t { Off = 0, On = 1, Inaudible = 2 };

enum WaveFormKind : std::int32_t {
    Sine = 0,
    Sawtooth = 1,
    Square = 2,
    Triangle = 3,
    WavFileWave = 4,
};

// How the samples of an open WAV source are stored.
enum WavEncoding : std::int32_t {
    WavNone = 0,
    WavUnsigned8 = 1,
    WavSigned16 = 2,
    WavSigned24 = 3,
    WavSigned32 = 4,
    WavFloat32 = 5,
    WavFloat64 = 6,
};

struct WavBlockCache; // engine-private reader state; exists only while a source is open

// The open WAV file of a WAV-file oscillator. Present only during a render or one preview
// drawing; all zero otherwise.
struct WavSource {
    WavBlockCache* Cache;       // null when the source is absent
    std::int64_t DataOffset;    // byte offset of the first frame in the file
    std::int64_t Reserved;      // keeps the layout free of padding
    unsigned char Header[44];   // the file's first 44 bytes, as read
    std::int32_t BytesPerFrame; // channels x bytes per sample
    std::int32_t FrameCount;    // whole frames that really are in the file
    std::int32_t SampleRate;
    std::int16_t Channels;
    std::int16_t BitsPerSample;
    std::int32_t Encoding; // WavEncoding
};

struct RenderState {
    std::int32_t StartSample;
    std::int32_t EndSample;
    std::int32_t LengthSamples;
    std::int32_t Reserved; // keeps the doubles aligned without hidden padding
    double FreqStart;
    double FreqDelta;
    double AmpDelta;
    double Phase;
    double NoiseOffset;
    double LastOut;
    std::int32_t NoiseCounter;
    std::int32_t ContinuesPrevious;
    WavSource Source;
};

struct Oscillator {
    char WavFile[TextCapacity];
    char Comment[TextCapacity];
    std::int32_t NextLinked; // position in the same table, or NoOscillator
    std::int32_t PrevLinked;
    double StartT; // milliseconds
    double EndT;
    double StartF; // Hz; cutoff for a filter; frames per second for a WAV file
    double EndF;
    double StartA; // linear amplitude; resonance for a filter
    double EndA;
    double NoiseBW;
    double CurveShape0; // frequency envelope exponent
    double CurveShape1; // amplitude envelope exponent
    double CurveShape2; // waveshape exponent
    std::int32_t NoiseChangeRate;
    std::int32_t Enabled; // EnabledState; any value but Off and On acts as Inaudible
    std::int32_t EnabledBeforeSolo;
    std::int32_t Filter;   // 0: generator, anything else: filter
    std::int32_t WaveForm; // WaveFormKind
    std::int32_t LoopWav;
    double FMModFac;
    double AMModFac;
    std::int32_t FMModBy; // position of the modulator, or NoOscillator
    std::int32_t AMModBy;
    RenderState Render;
};

using OscillatorTable = std::array<Oscillator, MaxOscillators>;

struct Sound {
    std::int32_t SampleFrequency;
    std::int32_t Count; // 1 to MaxOscillators
    OscillatorTable Oscillators;
};

// The layouts are checked field by field so a hidden padding byte can never make two equal
// sounds compare unequal.
static_assert(sizeof(WavSource) == 3 * 8 + 44 + 4 * 4 + 2 * 2);
static_assert(sizeof(RenderState) == 4 * 4 + 6 * 8 + 2 * 4 + sizeof(WavSource));
static_assert(sizeof(Oscillator) ==
              2 * TextCapacity + 2 * 4 + 10 * 8 + 6 * 4 + 2 * 8 + 2 * 4 + sizeof(RenderState));
static_assert(sizeof(Sound) == 2 * 4 + MaxOscillators * sizeof(Oscillator));
static_assert(std::is_trivially_copyable_v<Sound> && std::is_standard_layout_v<Sound>);

// Stores text into one of the record's character arrays: cut to fit, zero-filled behind,
// so equal texts always give equal bytes.
void SetText(char (&field)[TextCapacity], std::string_view text);
std::string_view GetText(const char (&field)[TextCapacity]);

// Fills the record with the values of a freshly inserted oscillator: an Off sine falling
// from 2000 Hz and amplitude 0.95 to 0 over 0 to 200 ms.
void NewOscillator(Oscillator& oscillator);

// The sound at start-up and after File New: 22050 Hz, one On oscillator.
void NewSound(Sound& sound);

// Recomputes NextLinked/PrevLinked: neighbours whose envelopes join end to start.
void LinkOscillators(OscillatorTable& table, int count);

// Solo on keeps the selected oscillator (and, for a filter, its inputs) sounding and turns
// other On oscillators Off; Solo off restores what Solo on saved.
void SetSolo(Sound& sound, int selected, bool on);

void ResetRenderState(Oscillator& oscillator);

// Count limited to what the table can hold, for code that must never index past it.
int ClampCount(int count);

} // namespace kettrik
