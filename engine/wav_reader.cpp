#include "engine/wav_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <string>
#include <system_error>
#include <utility>

namespace kettrik {

// Frames are read through one block of the file kept in memory. Blocks hold whole frames and
// start on a frame boundary, so a cached frame never straddles the end of a block.
inline constexpr std::int64_t WavBlockBytes = 64 * 1024;

struct WavBlockCache {
    std::FILE* File = nullptr;
    // The layout as found at open. Reads use these copies, not the record's fields, so a
    // record changed behind the reader's back can never steer a read outside the block.
    std::int64_t DataOffset = 0;
    std::int64_t BytesPerFrame = 0;
    std::int64_t SampleBytes = 0;
    std::int64_t FrameCount = 0;
    std::int64_t FramesPerBlock = 0;
    WavEncoding Encoding = WavNone;
    std::int64_t FirstFrame = 0; // first frame held in Block
    std::int64_t FrameSpan = 0;  // frames held in Block; 0 when nothing is cached
    std::array<unsigned char, WavBlockBytes> Block{};
};

namespace {

WavMessageHandler& MessageHandler() {
    static WavMessageHandler handler;
    return handler;
}

// Files with thousands of chunks before their samples do not exist in practice; the limit
// only keeps a hostile file of tiny chunks from making the walk crawl through gigabytes.
constexpr int MaxChunksWalked = 65536;

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;

std::uint16_t Le16At(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32At(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t Le64At(const unsigned char* p) {
    return static_cast<std::uint64_t>(Le32At(p)) |
           (static_cast<std::uint64_t>(Le32At(p + 4)) << 32);
}

// Reads up to `length` bytes at `offset`; returns how many were read. std::fseek takes a
// long, so offsets it cannot express read nothing.
std::int64_t ReadAt(std::FILE* file, std::int64_t offset, unsigned char* buffer,
                    std::int64_t length) {
    if (offset < 0 || length <= 0 || offset > std::numeric_limits<long>::max()) {
        return 0;
    }
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) {
        return 0;
    }
    return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(length), file));
}

bool IdIs(const unsigned char* p, const char (&id)[5]) {
    return std::memcmp(p, id, 4) == 0;
}

// The fields of a format chunk this reader uses, whichever way they were found.
struct WavFormat {
    std::uint16_t Code = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint16_t Bits = 0;
    std::int64_t DataOffset = 0;
    std::int64_t DataSize = 0;
};

WavFormat FormatFromFmtBody(const unsigned char* body, std::int64_t size) {
    WavFormat format;
    format.Code = Le16At(body);
    format.Channels = Le16At(body + 2);
    format.SampleRate = Le32At(body + 4);
    format.Bits = Le16At(body + 14);
    if (format.Code == FormatExtensible) {
        // The real format code is the start of the sub-format GUID. A chunk too short to
        // hold it leaves the extensible code, which is then refused as unknown.
        if (size >= 26) {
            format.Code = Le16At(body + 24);
        }
    }
    return format;
}

// Walks the chunks of a RIFF/WAVE file for "fmt " and "data". Bodies are padded to an even
// length. The file size bounds the walk, not the RIFF size, which writers often get wrong.
bool FindRiffFormat(std::FILE* file, std::int64_t fileSize, WavFormat& format) {
    bool haveFmt = false;
    bool haveData = false;
    std::int64_t position = 12;
    for (int chunk = 0; chunk < MaxChunksWalked && !(haveFmt && haveData); ++chunk) {
        unsigned char head[8];
        if (position > fileSize - 8 || ReadAt(file, position, head, 8) != 8) {
            break;
        }
        const std::int64_t size = Le32At(head + 4);
        const std::int64_t body = position + 8;
        if (!haveFmt && IdIs(head, "fmt ")) {
            if (size < 16) {
                return false;
            }
            unsigned char fmt[26] = {};
            const std::int64_t wanted = size < 26 ? size : 26;
            if (ReadAt(file, body, fmt, wanted) < 16) {
                return false;
            }
            const WavFormat found = FormatFromFmtBody(fmt, size);
            format.Code = found.Code;
            format.Channels = found.Channels;
            format.SampleRate = found.SampleRate;
            format.Bits = found.Bits;
            haveFmt = true;
        } else if (!haveData && IdIs(head, "data")) {
            format.DataOffset = body;
            format.DataSize = size;
            haveData = true;
        }
        position = body + size + (size & 1);
    }
    return haveFmt && haveData;
}

// Files without a RIFF/WAVE start are read the way the canonical 44-byte header lays out.
bool FormatFromFixedOffsets(const unsigned char (&header)[44], std::int64_t fileSize,
                            WavFormat& format) {
    if (fileSize < 44) {
        return false;
    }
    format.Code = Le16At(header + 20);
    format.Channels = Le16At(header + 22);
    format.SampleRate = Le32At(header + 24);
    format.Bits = Le16At(header + 34);
    format.DataSize = Le32At(header + 40);
    format.DataOffset = 44;
    return true;
}

WavEncoding EncodingOf(const WavFormat& format) {
    if (format.Code == FormatPcm) {
        switch ((format.Bits + 7) / 8) {
        case 1:
            return WavUnsigned8;
        case 2:
            return WavSigned16;
        case 3:
            return WavSigned24;
        case 4:
            return WavSigned32;
        default:
            return WavNone;
        }
    }
    if (format.Bits == 32) {
        return WavFloat32;
    }
    if (format.Bits == 64) {
        return WavFloat64;
    }
    return WavNone;
}

std::int64_t SampleBytesOf(WavEncoding encoding) {
    switch (encoding) {
    case WavUnsigned8:
        return 1;
    case WavSigned16:
        return 2;
    case WavSigned24:
        return 3;
    case WavSigned32:
    case WavFloat32:
        return 4;
    case WavFloat64:
        return 8;
    case WavNone:
        break;
    }
    return 0;
}

double LimitFloat(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    return value < -1.0 ? -1.0 : (value > 1.0 ? 1.0 : value);
}

double DecodeSample(const unsigned char* p, WavEncoding encoding) {
    switch (encoding) {
    case WavUnsigned8:
        return (static_cast<int>(p[0]) - 128) * 0.0078125;
    case WavSigned16:
        return static_cast<std::int16_t>(Le16At(p)) * (1.0 / 32768.0);
    case WavSigned24: {
        const std::uint32_t raw = static_cast<std::uint32_t>(p[0]) |
                                  (static_cast<std::uint32_t>(p[1]) << 8) |
                                  (static_cast<std::uint32_t>(p[2]) << 16);
        return (static_cast<std::int32_t>(raw << 8) >> 8) * (1.0 / 8388608.0);
    }
    case WavSigned32:
        return static_cast<std::int32_t>(Le32At(p)) * (1.0 / 2147483648.0);
    case WavFloat32:
        return LimitFloat(static_cast<double>(std::bit_cast<float>(Le32At(p))));
    case WavFloat64:
        return LimitFloat(std::bit_cast<double>(Le64At(p)));
    case WavNone:
        break;
    }
    return 0.0;
}

// Loads the block holding `frame`. Blocks are numbered from the first frame, so sequential
// reading refills once per block whichever direction it runs.
bool FillBlock(WavBlockCache& cache, std::int64_t frame) {
    cache.FrameSpan = 0;
    const std::int64_t first = frame - frame % cache.FramesPerBlock;
    const std::int64_t span = std::min(cache.FramesPerBlock, cache.FrameCount - first);
    // The last frame of the block needs only its first sample, which also keeps a block of
    // one enormous frame within the buffer.
    const std::int64_t bytes = (span - 1) * cache.BytesPerFrame + cache.SampleBytes;
    if (ReadAt(cache.File, cache.DataOffset + first * cache.BytesPerFrame, cache.Block.data(),
               bytes) != bytes) {
        return false; // the file shrank while open: nothing is cached, the frame reads 0
    }
    cache.FirstFrame = first;
    cache.FrameSpan = span;
    return true;
}

} // namespace

void SetWavMessageHandler(WavMessageHandler handler) {
    MessageHandler() = std::move(handler);
}

void OpenWavSource(Oscillator& oscillator) {
    if (oscillator.WaveForm != WavFileWave) {
        return;
    }
    CloseWavSource(oscillator); // reopening must not leak the previous file
    WavSource& source = oscillator.Render.Source;

    const std::string path(GetText(oscillator.WavFile));
    // Only regular files: opening a FIFO would block, and a device or folder has no samples.
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return;
    }
    const std::uintmax_t rawSize = std::filesystem::file_size(path, error);
    if (error || rawSize > static_cast<std::uintmax_t>(std::numeric_limits<std::int64_t>::max())) {
        return;
    }
    const auto fileSize = static_cast<std::int64_t>(rawSize);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return;
    }

    unsigned char header[44] = {};
    ReadAt(file, 0, header, static_cast<std::int64_t>(sizeof header));

    WavFormat format;
    const bool riff = fileSize >= 12 && IdIs(header, "RIFF") && IdIs(header + 8, "WAVE");
    const bool found = riff ? FindRiffFormat(file, fileSize, format)
                            : FormatFromFixedOffsets(header, fileSize, format);
    if (!found) {
        std::fclose(file);
        return;
    }
    if (format.Code != FormatPcm && format.Code != FormatFloat) {
        std::fclose(file);
        if (const WavMessageHandler& handler = MessageHandler()) {
            handler(CompressedWavMessage, CompressedWavTitle);
        }
        return;
    }

    const WavEncoding encoding = EncodingOf(format);
    const std::int64_t sampleBytes = SampleBytesOf(encoding);
    // Channel counts beyond what the record can hold are not real files.
    if (sampleBytes == 0 || format.Channels == 0 ||
        format.Channels > std::numeric_limits<std::int16_t>::max()) {
        std::fclose(file);
        return;
    }
    const std::int64_t bytesPerFrame = format.Channels * sampleBytes;
    const std::int64_t present = fileSize > format.DataOffset ? fileSize - format.DataOffset : 0;
    const std::int64_t dataSize = std::min(format.DataSize, present);
    const std::int64_t frameCount =
        std::min<std::int64_t>(dataSize / bytesPerFrame, std::numeric_limits<std::int32_t>::max());
    if (frameCount <= 0) {
        std::fclose(file);
        return;
    }

    auto* cache = new (std::nothrow) WavBlockCache;
    if (cache == nullptr) {
        std::fclose(file);
        return;
    }
    cache->File = file;
    cache->DataOffset = format.DataOffset;
    cache->BytesPerFrame = bytesPerFrame;
    cache->SampleBytes = sampleBytes;
    cache->FrameCount = frameCount;
    cache->FramesPerBlock = std::max<std::int64_t>(1, WavBlockBytes / bytesPerFrame);
    cache->Encoding = encoding;

    source.Cache = cache;
    source.DataOffset = format.DataOffset;
    std::memcpy(source.Header, header, sizeof header);
    source.BytesPerFrame = static_cast<std::int32_t>(bytesPerFrame);
    source.FrameCount = static_cast<std::int32_t>(frameCount);
    source.SampleRate = static_cast<std::int32_t>(
        std::min<std::uint32_t>(format.SampleRate, std::numeric_limits<std::int32_t>::max()));
    source.Channels = static_cast<std::int16_t>(format.Channels);
    source.BitsPerSample = static_cast<std::int16_t>(format.Bits);
    source.Encoding = encoding;
}

void CloseWavSource(Oscillator& oscillator) {
    WavSource& source = oscillator.Render.Source;
    // The cache pointer only ever comes from OpenWavSource, so an open source is closed
    // whatever the waveform has become since; otherwise the file would stay open for good.
    const bool wasOpen = source.Cache != nullptr;
    if (wasOpen) {
        std::fclose(source.Cache->File);
        delete source.Cache;
    }
    if (wasOpen || oscillator.WaveForm == WavFileWave) {
        std::memset(&source, 0, sizeof source);
    }
}

double ReadWavFrame(const WavSource& source, std::int64_t frame) {
    WavBlockCache* cache = source.Cache;
    if (cache == nullptr || frame < 0 || frame >= cache->FrameCount) {
        return 0.0;
    }
    std::int64_t local = frame - cache->FirstFrame;
    if (local < 0 || local >= cache->FrameSpan) {
        if (!FillBlock(*cache, frame)) {
            return 0.0;
        }
        local = frame - cache->FirstFrame;
    }
    return DecodeSample(cache->Block.data() + local * cache->BytesPerFrame, cache->Encoding);
}

} // namespace kettrik
