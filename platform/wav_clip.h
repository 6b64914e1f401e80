// A whole WAV file in memory, ready to be sent to an audio device as it stands: the sample
// bytes are not converted, only described.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kettrik {

enum class SampleEncoding { U8, S16, S24Packed, S32, Float32, Float64 };

struct PcmFormat {
    SampleEncoding Encoding = SampleEncoding::S16;
    std::uint32_t Channels = 1;
    std::uint32_t SampleRate = 22050;
    std::uint32_t BytesPerFrame = 2;
    bool operator==(const PcmFormat&) const = default;
};

struct WavClip {
    PcmFormat Format;
    std::vector<unsigned char> File; // the whole file; the samples are a slice of it
    std::size_t DataOffset = 0;
    std::size_t Frames = 0; // whole frames inside the file, whatever the header claimed

    const unsigned char* FrameData(std::size_t frame) const {
        return File.data() + DataOffset + frame * Format.BytesPerFrame;
    }
};

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t MaxWavClipBytes = std::size_t{512} * 1024 * 1024;

// Reads a PCM (8, 16, 24, 32 bit) or floating-point (32, 64 bit) WAV file, plain or
// extensible, any channel count and rate. Empty with a short reason otherwise.
std::optional<WavClip> ReadWavClip(const std::string& path, std::string& reason);

} // namespace kettrik
