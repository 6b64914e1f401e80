#include "model/sound_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "model/number_text.h"
#include "model/profile_file.h"

namespace kettrik {

namespace {

constexpr std::size_t TextChars = 249;
constexpr std::size_t NumberChars = 62;
constexpr std::size_t PreviewChars = 127;
constexpr std::string_view CompanionSuffix = "Escaped";

std::string SectionName(int position) {
    return "Oscillator " + FormatInt(position);
}

std::string Cut(std::string_view text, std::size_t maxChars) {
    return std::string(text.substr(0, std::min(text.size(), maxChars)));
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// The text of a main key: each control character (a line break above all) as a blank, so
// that the value stays on its line and can never start a key or a section.
std::string Sanitized(std::string_view text) {
    std::string result(text);
    std::replace_if(result.begin(), result.end(), IsControl, ' ');
    return result;
}

// True when the main key alone would not give the text back.
bool NeedsCompanion(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    if (std::any_of(text.begin(), text.end(), IsControl)) {
        return true;
    }
    if (text.front() == ' ' || text.back() == ' ') {
        return true;
    }
    return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
           text.back() == text.front();
}

// Backslash as "\\"; control characters, quotes and a blank at either end as "\xHH".
std::string Escaped(std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool blankAtEnd = c == ' ' && (i == 0 || i + 1 == text.size());
        if (c == '\\') {
            result += "\\\\";
        } else if (IsControl(c) || c == '"' || c == '\'' || blankAtEnd) {
            const auto byte = static_cast<unsigned char>(c);
            result += "\\x";
            result += Hex[byte >> 4];
            result += Hex[byte & 0xF];
        } else {
            result += c;
        }
    }
    return result;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Nothing when the text is not a valid escaped text.
std::optional<std::string> Unescaped(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            result += '\\';
            ++i;
            continue;
        }
        if (text.size() - i < 4 || text[i + 1] != 'x') {
            return std::nullopt;
        }
        const int high = HexValue(text[i + 2]);
        const int low = HexValue(text[i + 3]);
        if (high < 0 || low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        result += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return result;
}

// Reads the keys of one section (which may be missing) with the reader's defaults and cuts.
class SectionReader {
public:
    explicit SectionReader(const ProfileDocument::Section* section) : section_(section) {}

    std::optional<std::string> Find(std::string_view key) const {
        return section_ != nullptr ? FindSectionValue(*section_, key) : std::nullopt;
    }

    std::string String(std::string_view key, std::string_view defaultValue,
                       std::size_t maxChars) const {
        const std::optional<std::string> value = Find(key);
        return Cut(value ? std::string_view(*value) : defaultValue, maxChars);
    }

    std::int32_t Int(std::string_view key, std::string_view defaultValue) const {
        return ParseInt(String(key, defaultValue, NumberChars));
    }

    double Real(std::string_view key, std::string_view defaultValue) const {
        return ParseReal(String(key, defaultValue, NumberChars));
    }

    // The main key, or its companion when that is present and agrees with the main key.
    std::string Text(std::string_view key) const {
        std::string main = String(key, "", TextChars);
        const std::optional<std::string> companion = Find(std::string(key) += CompanionSuffix);
        if (!companion) {
            return main;
        }
        const std::optional<std::string> decoded = Unescaped(*companion);
        if (!decoded || Cut(UnquoteProfileValue(Sanitized(*decoded)), TextChars) != main) {
            return main;
        }
        return Cut(*decoded, TextChars);
    }

private:
    const ProfileDocument::Section* section_;
};

void WriteText(ProfileDocument::Section& section, std::string_view key, std::string_view text) {
    SetSectionValue(section, key, Sanitized(text));
    const std::string companionKey = std::string(key) += CompanionSuffix;
    if (NeedsCompanion(text)) {
        SetSectionValue(section, companionKey, Escaped(text));
    } else {
        RemoveSectionValue(section, companionKey);
    }
}

void ReadOscillator(const SectionReader& keys, Oscillator& o) {
    ResetRenderState(o);
    const std::int32_t enabled = keys.Int("Enabled", "0");
    o.Enabled = enabled == std::numeric_limits<std::int32_t>::min()
                    ? std::numeric_limits<std::int32_t>::max()
                    : (enabled < 0 ? -enabled : enabled);
    o.Filter = keys.Int("Filter", "0");
    o.WaveForm = keys.Int("WaveForm", "0");
    SetText(o.WavFile, keys.Text("WavFile"));
    SetText(o.Comment, keys.Text("Comment"));
    o.LoopWav = keys.Int("LoopWav", "0");
    o.StartF = keys.Real("StartF", "2000");
    o.EndF = keys.Real("EndF", "0");
    o.StartA = keys.Real("StartA", "1");
    o.EndA = keys.Real("EndA", "0");
    o.StartT = keys.Real("StartT", "0");
    o.EndT = keys.Real("EndT", "200");
    o.AMModFac = keys.Real("AMModFac", "0");
    o.AMModBy = keys.Int("AMModBy", "-1");
    o.FMModFac = keys.Real("FMModFac", "0");
    o.FMModBy = keys.Int("FMModBy", "-1");
    o.CurveShape0 = keys.Real("CurveShape0", ".1");
    o.CurveShape1 = keys.Real("CurveShape1", "10");
    o.CurveShape2 = keys.Real("CurveShape2", "1");
    o.NoiseBW = keys.Real("NoiseBW", "0.1");
    o.NoiseChangeRate = keys.Int("NoiseChangeRate", "1");
}

void WriteOscillator(ProfileDocument::Section& section, const Oscillator& o) {
    SetSectionValue(section, "Enabled", FormatInt(o.Enabled));
    SetSectionValue(section, "Filter", FormatInt(o.Filter));
    SetSectionValue(section, "WaveForm", FormatInt(o.WaveForm));
    WriteText(section, "WavFile", GetText(o.WavFile));
    WriteText(section, "Comment", GetText(o.Comment));
    SetSectionValue(section, "LoopWav", FormatInt(o.LoopWav));
    SetSectionValue(section, "StartF", FormatFixed6(o.StartF));
    SetSectionValue(section, "EndF", FormatFixed6(o.EndF));
    SetSectionValue(section, "StartA", FormatFixed6(o.StartA));
    SetSectionValue(section, "EndA", FormatFixed6(o.EndA));
    SetSectionValue(section, "StartT", FormatFixed6(o.StartT));
    SetSectionValue(section, "EndT", FormatFixed6(o.EndT));
    SetSectionValue(section, "AMModFac", FormatFixed6(o.AMModFac));
    SetSectionValue(section, "AMModBy", FormatInt(o.AMModBy));
    SetSectionValue(section, "FMModFac", FormatFixed6(o.FMModFac));
    SetSectionValue(section, "FMModBy", FormatInt(o.FMModBy));
    SetSectionValue(section, "CurveShape0", FormatFixed6(o.CurveShape0));
    SetSectionValue(section, "CurveShape1", FormatFixed6(o.CurveShape1));
    SetSectionValue(section, "CurveShape2", FormatFixed6(o.CurveShape2));
    SetSectionValue(section, "NoiseBW", FormatFixed6(o.NoiseBW));
    SetSectionValue(section, "NoiseChangeRate", FormatInt(o.NoiseChangeRate));
}

std::int32_t CorrectedSampleFrequency(std::int32_t stored) {
    switch (stored) {
    case 11000:
        return 11025;
    case 22000:
        return 22050;
    case 44000:
        return 44100;
    default:
        return stored;
    }
}

} // namespace

void LoadSound(const std::string& path, Sound& sound) {
    ProfileDocument document;
    ReadProfileFile(path, document);
    const ProfileSectionIndex index(document);

    // Every byte of the sound is set, so equal files give equal sounds whatever the memory
    // held before; slots beyond Count hold new oscillators.
    std::memset(&sound, 0, sizeof sound);
    for (Oscillator& slot : sound.Oscillators) {
        NewOscillator(slot);
    }

    const SectionReader common(index.Find(document, "Common"));
    sound.SampleFrequency = CorrectedSampleFrequency(common.Int("SampleFrequency", "22050"));
    const std::int32_t last = common.Int("Oscillators", "0");
    sound.Count = last < 0 ? 1 : (last >= MaxOscillators ? MaxOscillators : last + 1);

    for (int i = 0; i < sound.Count; ++i) {
        ReadOscillator(SectionReader(index.Find(document, SectionName(i))), sound.Oscillators[i]);
    }
    LinkOscillators(sound.Oscillators, sound.Count);
}

bool SaveSound(const std::string& path, const Sound& sound) {
    ProfileDocument document;
    if (ReadProfileFile(path, document) == ProfileReadResult::Unreadable) {
        return false;
    }
    ProfileSectionIndex index(document);
    const int count = std::clamp(sound.Count, 1, MaxOscillators);
    {
        ProfileDocument::Section& common = index.Ensure(document, "Common");
        SetSectionValue(common, "SampleFrequency", FormatInt(sound.SampleFrequency));
        SetSectionValue(common, "Oscillators", FormatInt(count - 1));
    }
    for (int i = 0; i < count; ++i) {
        WriteOscillator(index.Ensure(document, SectionName(i)), sound.Oscillators[i]);
    }
    return WriteProfileFile(path, document);
}

bool IsSoundFile(const std::string& path) {
    constexpr std::int32_t absent = 9876;
    return GetProfileInt(path, "Common", "Oscillators", absent) != absent;
}

std::string ReadCommentPreview(const std::string& path) {
    ProfileDocument document;
    ReadProfileFile(path, document);
    const ProfileSectionIndex index(document);
    return Cut(SectionReader(index.Find(document, SectionName(0))).Text("Comment"), PreviewChars);
}

} // namespace kettrik
