#include "platform/wav_clip.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kettrik {

namespace {

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;
// Beyond these a header is taken as damaged, not as an exotic device.
constexpr std::uint32_t MaxChannels = 64;
constexpr std::uint32_t MaxSampleRate = 1'000'000;

std::uint16_t Le16At(const std::vector<unsigned char>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t Le32At(const std::vector<unsigned char>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(Le16At(bytes, at)) |
           (static_cast<std::uint32_t>(Le16At(bytes, at + 2)) << 16);
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes,
                   std::string& reason) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    bytes.clear();
    unsigned char block[65536];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, file);
        if (bytes.size() + got > MaxWavClipBytes) {
            reason = "file too large";
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block) {
            if (std::ferror(file) != 0) {
                reason = "read error";
                ok = false;
            }
            break;
        }
    }
    std::fclose(file);
    return ok;
}

std::optional<SampleEncoding> EncodingFor(std::uint16_t tag, std::uint16_t bits) {
    if (tag == FormatPcm) {
        switch (bits) {
        case 8:
            return SampleEncoding::U8;
        case 16:
            return SampleEncoding::S16;
        case 24:
            return SampleEncoding::S24Packed;
        case 32:
            return SampleEncoding::S32;
        default:
            return std::nullopt;
        }
    }
    if (tag == FormatFloat) {
        if (bits == 32) {
            return SampleEncoding::Float32;
        }
        if (bits == 64) {
            return SampleEncoding::Float64;
        }
    }
    return std::nullopt;
}

// Reads the fmt chunk's body at [at, at + size).
bool ParseFormat(const std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t size,
                 PcmFormat& format, std::string& reason) {
    if (size < 16) {
        reason = "format chunk too short";
        return false;
    }
    std::uint16_t tag = Le16At(bytes, at);
    const std::uint16_t channels = Le16At(bytes, at + 2);
    const std::uint32_t rate = Le32At(bytes, at + 4);
    const std::uint16_t blockAlign = Le16At(bytes, at + 12);
    const std::uint16_t bits = Le16At(bytes, at + 14);
    if (tag == FormatExtensible) {
        // The sub-format GUID begins with the plain format tag.
        if (size < 40) {
            reason = "extensible format chunk too short";
            return false;
        }
        tag = Le16At(bytes, at + 24);
    }
    const auto encoding = EncodingFor(tag, bits);
    if (!encoding) {
        reason = "unsupported sample format";
        return false;
    }
    if (channels == 0 || channels > MaxChannels || rate == 0 || rate > MaxSampleRate) {
        reason = "bad channel count or sample rate";
        return false;
    }
    if (blockAlign != channels * (bits / 8)) {
        reason = "inconsistent block alignment";
        return false;
    }
    format = PcmFormat{*encoding, channels, rate, blockAlign};
    return true;
}

} // namespace

std::optional<WavClip> ReadWavClip(const std::string& path, std::string& reason) {
    WavClip clip;
    if (!ReadWholeFile(path, clip.File, reason)) {
        return std::nullopt;
    }
    const auto& bytes = clip.File;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        reason = "not a WAV file";
        return std::nullopt;
    }
    bool haveFormat = false;
    std::optional<std::size_t> dataAt;
    std::size_t dataSize = 0;
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::uint32_t size = Le32At(bytes, at + 4);
        const std::size_t body = at + 8;
        const std::size_t left = bytes.size() - body;
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && !haveFormat) {
            if (size > left) {
                reason = "format chunk cut off";
                return std::nullopt;
            }
            if (!ParseFormat(bytes, body, size, clip.Format, reason)) {
                return std::nullopt;
            }
            haveFormat = true;
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0 && !dataAt) {
            // Writers that stream often leave the size too large (or 0xFFFFFFFF): take what is
            // there.
            dataAt = body;
            dataSize = size <= left ? size : left;
        }
        if (size >= left) {
            break;
        }
        at = body + size + (size & 1U);
        if (at > bytes.size()) {
            break;
        }
    }
    if (!haveFormat || !dataAt) {
        reason = haveFormat ? "no sample data" : "no format chunk";
        return std::nullopt;
    }
    clip.DataOffset = *dataAt;
    clip.Frames = dataSize / clip.Format.BytesPerFrame;
    return clip;
}

} // namespace kettrik
