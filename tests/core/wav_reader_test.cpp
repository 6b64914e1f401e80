#include "engine/wav_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/test_support.h"

namespace kettrik {
namespace {

using test::Le16;
using test::Le32;
using test::MakeWav;
using namespace std::string_literals;

std::string Le24(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
            static_cast<char>((u >> 16) & 0xFF)};
}

std::string S16(std::int16_t v) {
    return Le16(static_cast<std::uint16_t>(v));
}
std::string S32(std::int32_t v) {
    return Le32(static_cast<std::uint32_t>(v));
}
std::string F32(float v) {
    return Le32(std::bit_cast<std::uint32_t>(v));
}
std::string F64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    return Le32(static_cast<std::uint32_t>(bits)) + Le32(static_cast<std::uint32_t>(bits >> 32));
}

std::string Chunk(const std::string& id, const std::string& body) {
    std::string chunk = id + Le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2 != 0) {
        chunk += '\0';
    }
    return chunk;
}

// WAVE_FORMAT_EXTENSIBLE: the real format code is the first two bytes of the sub-format.
std::string ExtensibleWav(std::uint16_t subFormat, std::uint16_t channels, std::uint16_t bits,
                          const std::string& data) {
    const auto blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    const std::string fmt = Le16(0xFFFE) + Le16(channels) + Le32(48000) +
                            Le32(48000u * blockAlign) + Le16(blockAlign) + Le16(bits) + Le16(22) +
                            Le16(bits) + Le32(0) + Le16(subFormat) + std::string(14, '\x11');
    const std::string body = "WAVE" + Chunk("fmt ", fmt) + Chunk("data", data);
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

class WavReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        NewOscillator(oscillator);
        oscillator.WaveForm = WavFileWave;
        SetWavMessageHandler([this](std::string_view text, std::string_view title) {
            messages.emplace_back(std::string(text) + "|" + std::string(title));
        });
    }
    void TearDown() override {
        CloseWavSource(oscillator);
        SetWavMessageHandler(nullptr);
    }

    const WavSource& Open(const std::string& bytes, const std::string& name = "x.wav") {
        const std::string path = dir.File(name);
        test::WriteFileBytes(path, bytes);
        SetText(oscillator.WavFile, path);
        OpenWavSource(oscillator);
        return oscillator.Render.Source;
    }

    std::vector<double> ReadAll(const WavSource& source) {
        std::vector<double> values;
        for (std::int64_t j = 0; j < source.FrameCount; ++j) {
            values.push_back(ReadWavFrame(source, j));
        }
        return values;
    }

    test::TempDir dir;
    Oscillator oscillator{};
    std::vector<std::string> messages;
};

bool IsAbsent(const WavSource& source) {
    WavSource zero{};
    return std::memcmp(&source, &zero, sizeof zero) == 0;
}

TEST_F(WavReaderTest, DecodesEveryEncodingFromTheFirstChannel) {
    struct Case {
        const char* name;
        std::string file;
        std::int32_t bytesPerFrame;
        WavEncoding encoding;
        std::vector<double> expected;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"8-bit unsigned",
         MakeWav({.Bits = 8, .Data = "\x80\xFF\x00"s}),
         1,
         WavUnsigned8,
         {0.0, 0.9921875, -1.0}},
        {"16-bit stereo, left only",
         MakeWav({.Channels = 2,
                  .Data = S16(16384) + S16(32767) + S16(-32768) + S16(1) + S16(-1) + S16(0)}),
         4,
         WavSigned16,
         {0.5, -1.0, -1.0 / 32768}},
        {"24-bit",
         MakeWav({.Bits = 24, .Data = Le24(0x400000) + Le24(-8388608) + Le24(-1)}),
         3,
         WavSigned24,
         {0.5, -1.0, -1.0 / 8388608}},
        {"32-bit",
         MakeWav({.Bits = 32, .Data = S32(0x40000000) + S32(INT32_MIN) + S32(1)}),
         4,
         WavSigned32,
         {0.5, -1.0, 1.0 / 2147483648.0}},
        {"12 bits in a 16-bit container",
         MakeWav({.Bits = 12, .Data = S16(-16384)}),
         2,
         WavSigned16,
         {-0.5}},
        {"float 32, limited, NaN silent",
         MakeWav({.Format = 3, .Bits = 32, .Data = F32(0.25f) + F32(2.0f) + F32(-3.0f) + F32(nan)}),
         4,
         WavFloat32,
         {0.25, 1.0, -1.0, 0.0}},
        {"float 64 stereo",
         MakeWav({.Format = 3,
                  .Channels = 2,
                  .Bits = 64,
                  .Data = F64(-0.125) + F64(0.9) + F64(inf) + F64(0.0)}),
         16,
         WavFloat64,
         {-0.125, 1.0}},
        {"extensible PCM 24-bit stereo",
         ExtensibleWav(1, 2, 24, Le24(-4194304) + Le24(5) + Le24(0x7FFFFF) + Le24(6)),
         6,
         WavSigned24,
         {-0.5, 8388607.0 / 8388608}},
        {"extensible float 32", ExtensibleWav(3, 1, 32, F32(-0.75f)), 4, WavFloat32, {-0.75}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WavSource& source = Open(c.file);
        ASSERT_NE(source.Cache, nullptr);
        EXPECT_EQ(source.BytesPerFrame, c.bytesPerFrame);
        EXPECT_EQ(source.Encoding, c.encoding);
        EXPECT_EQ(ReadAll(source), c.expected);
        CloseWavSource(oscillator);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(WavReaderTest, CanonicalHeaderFieldsAreKept) {
    const std::string file = MakeWav({.SampleRate = 44100, .Data = std::string(1000, '\0')});
    const WavSource& source = Open(file);
    ASSERT_NE(source.Cache, nullptr);
    EXPECT_EQ(source.FrameCount, 500);
    EXPECT_EQ(source.DataOffset, 44);
    EXPECT_EQ(source.SampleRate, 44100);
    EXPECT_EQ(source.Channels, 1);
    EXPECT_EQ(source.BitsPerSample, 16);
    EXPECT_EQ(std::memcmp(source.Header, file.data(), 44), 0);

    // A trailing half frame is not a frame.
    EXPECT_EQ(Open(MakeWav({.Data = std::string(1001, '\0')})).FrameCount, 500);
}

// Files from ordinary editors carry longer fmt chunks and chunks around the samples; fixed
// offsets would read their header bytes as samples.
TEST_F(WavReaderTest, FindsDataBehindOtherChunks) {
    const std::string samples = S16(8192) + S16(-8192) + S16(32767);
    const std::string file =
        MakeWav({.ExtraChunkBeforeFmt = Chunk("JUNK", "abc"),
                 .ExtraChunkBeforeData = Chunk("LIST", std::string("INFOISFT\x05\0\0\0kttr\0", 17)),
                 .FmtExtraBytes = 2,
                 .Data = samples});
    const WavSource& source = Open(file);
    ASSERT_NE(source.Cache, nullptr);
    EXPECT_EQ(source.FrameCount, 3);
    EXPECT_EQ(source.DataOffset, static_cast<std::int64_t>(file.size() - samples.size()));
    EXPECT_EQ(ReadAll(source), (std::vector<double>{0.25, -0.25, 32767.0 / 32768}));
    EXPECT_EQ(std::memcmp(source.Header, file.data(), 44), 0);
}

TEST_F(WavReaderTest, FileWithoutRiffStartIsReadAtFixedOffsets) {
    std::string file = MakeWav({.Data = S16(-16384) + S16(16384)});
    file.replace(0, 4, "XXXX");
    file.replace(36, 4, "YYYY");
    const WavSource& source = Open(file);
    ASSERT_NE(source.Cache, nullptr);
    EXPECT_EQ(ReadAll(source), (std::vector<double>{-0.5, 0.5}));

    // Its data size is still bounded by the file.
    file.replace(40, 4, Le32(0x7FFFFFF0));
    EXPECT_EQ(Open(file).FrameCount, 2);
}

TEST_F(WavReaderTest, CompressedFormatsAreRefusedWithOneMessagePerOpen) {
    const std::string expected = std::string(CompressedWavMessage) + "|Kettrik";
    EXPECT_EQ(CompressedWavMessage, "Sorry, compressed wav, i dont grok that yet!");
    const std::string files[] = {
        MakeWav({.Format = 2, .Bits = 4, .FmtExtraBytes = 34, .Data = std::string(256, 'a')}),
        ExtensibleWav(2, 1, 16, std::string(16, 'a')),
        MakeWav({.Format = 0xFFFE, .Data = S16(1)}), // too short to name its sub-format
    };
    for (const std::string& file : files) {
        messages.clear();
        EXPECT_TRUE(IsAbsent(Open(file)));
        EXPECT_EQ(messages, std::vector<std::string>{expected});
    }
    // The next render opens it again and hears about it again.
    OpenWavSource(oscillator);
    EXPECT_EQ(messages.size(), 2u);

    SetWavMessageHandler(nullptr);
    EXPECT_TRUE(IsAbsent(Open(files[0]))); // nobody to tell: still refused, no crash
}

TEST_F(WavReaderTest, TruncatedDataGivesTheFramesThatArePresent) {
    const std::string file = MakeWav({.Data = std::string(600, '\x10'), .DataSizeOverride = 2000});
    const WavSource& source = Open(file);
    ASSERT_NE(source.Cache, nullptr);
    EXPECT_EQ(source.FrameCount, 300);
    EXPECT_EQ(ReadWavFrame(source, 299), 0x1010 / 32768.0);
    EXPECT_EQ(ReadWavFrame(source, 300), 0.0);

    // Streaming writers leave the size at its maximum.
    EXPECT_EQ(Open(MakeWav({.Data = std::string(600, '\x10'), .DataSizeOverride = 0xFFFFFFFF}))
                  .FrameCount,
              300);
}

TEST_F(WavReaderTest, MalformedFilesLeaveTheSourceAbsent) {
    const std::string riffHead = "RIFF" + Le32(100) + "WAVE";
    const std::string fmt16 =
        Chunk("fmt ", Le16(1) + Le16(1) + Le32(8000) + Le32(16000) + Le16(2) + Le16(16));
    const std::string bigGarbage = [] {
        std::string g(5000, '\0');
        for (std::size_t i = 0; i < g.size(); ++i) {
            g[i] = static_cast<char>((i * 131 + 7) % 251);
        }
        return g;
    }();
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"empty", ""},
        {"10 bytes", "RIFF\x04\0\0\0WA"s},
        {"garbage", bigGarbage},
        {"RIFF head only", riffHead},
        {"huge chunk before fmt",
         riffHead + "JUNK" + Le32(0xFFFFFFFF) + fmt16 + Chunk("data", "ab")},
        {"huge fmt chunk", riffHead + "fmt " + Le32(0xFFFFFFFE) + std::string(16, '\1')},
        {"fmt shorter than 16",
         riffHead + Chunk("fmt ", std::string(14, '\1')) + Chunk("data", "ab")},
        {"no data chunk", riffHead + fmt16},
        {"no fmt chunk", riffHead + Chunk("data", "abcd")},
        {"zero channels", MakeWav({.Channels = 0, .Data = "abcd"})},
        {"zero bits", MakeWav({.Bits = 0, .Data = "abcd"})},
        {"PCM above 32 bits", MakeWav({.Bits = 40, .Data = std::string(10, 'a')})},
        {"float of 16 bits", MakeWav({.Format = 3, .Bits = 16, .Data = "abcd"})},
        {"zero frames", MakeWav({.Data = ""})},
        {"less than one frame", MakeWav({.Channels = 2, .Data = "abc"})},
        {"data size zero", MakeWav({.Data = "abcd", .DataSizeOverride = 0})},
        {"too many channels", MakeWav({.Channels = 40000, .Data = std::string(80000, 'a')})},
        {"short file without RIFF", std::string(43, '\1')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WavSource& source = Open(c.file);
        EXPECT_TRUE(IsAbsent(source));
        EXPECT_EQ(ReadWavFrame(source, 0), 0.0);
    }
}

TEST_F(WavReaderTest, UnopenablePathsAreAbsentWithoutMessage) {
    for (const std::string& path : {dir.File("missing.wav"), dir.Path(), std::string()}) {
        SCOPED_TRACE(path);
        SetText(oscillator.WavFile, path);
        OpenWavSource(oscillator);
        EXPECT_TRUE(IsAbsent(oscillator.Render.Source));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(WavReaderTest, OnlyWavFileOscillatorsAreOpenedAndCleared) {
    const std::string path = dir.File("x.wav");
    test::WriteFileBytes(path, MakeWav({.Data = S16(1)}));
    SetText(oscillator.WavFile, path);
    oscillator.WaveForm = Sine;
    oscillator.Render.Source.FrameCount = 7; // whatever a non-WAV oscillator holds stays
    OpenWavSource(oscillator);
    EXPECT_EQ(oscillator.Render.Source.Cache, nullptr);
    CloseWavSource(oscillator);
    EXPECT_EQ(oscillator.Render.Source.FrameCount, 7);

    oscillator.WaveForm = WavFileWave;
    CloseWavSource(oscillator); // nothing open: the fields are cleared all the same
    EXPECT_TRUE(IsAbsent(oscillator.Render.Source));

    OpenWavSource(oscillator);
    OpenWavSource(oscillator); // reopening closes the first file (the leak checker watches)
    ASSERT_NE(oscillator.Render.Source.Cache, nullptr);
    CloseWavSource(oscillator);
    EXPECT_TRUE(IsAbsent(oscillator.Render.Source));

    // A source stays closable when the waveform changed while it was open.
    OpenWavSource(oscillator);
    oscillator.WaveForm = Square;
    CloseWavSource(oscillator);
    EXPECT_TRUE(IsAbsent(oscillator.Render.Source));
}

TEST_F(WavReaderTest, FramesOutsideTheSourceReadZero) {
    const WavSource& source = Open(MakeWav({.Data = S16(100) + S16(200)}));
    ASSERT_EQ(source.FrameCount, 2);
    for (std::int64_t j :
         {std::int64_t{-1}, std::int64_t{2}, std::int64_t{INT32_MAX},
          std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()}) {
        EXPECT_EQ(ReadWavFrame(source, j), 0.0) << j;
    }
    EXPECT_EQ(ReadWavFrame(WavSource{}, 0), 0.0);
}

TEST_F(WavReaderTest, FileShrinkingWhileOpenReadsZeroInsteadOfStaleBytes) {
    const WavSource& source = Open(MakeWav({.Data = std::string(300000, '\x20')}));
    ASSERT_EQ(source.FrameCount, 150000);
    EXPECT_NE(ReadWavFrame(source, 0), 0.0);
    std::filesystem::resize_file(dir.File("x.wav"), 1000);
    EXPECT_EQ(ReadWavFrame(source, 149999), 0.0);
}

// Several blocks' worth of frames, read forwards, backwards and by jumps, with frame sizes and
// data offsets that do not divide the block size.
TEST_F(WavReaderTest, FramesAcrossBlockBoundariesReadTheirOwnValues) {
    struct Case {
        const char* name;
        std::uint16_t channels;
        std::uint16_t bits;
        std::int32_t frames;
        std::string extraChunk;
    };
    const Case cases[] = {
        {"16-bit mono", 1, 16, 100000, ""},
        {"24-bit stereo, odd data offset", 2, 24, 40000, Chunk("LIST", "abc")},
        {"frames larger than a block", 20000, 32, 4, ""},
    };
    auto valueOf = [](std::int32_t frame) { return (frame * 7919) % 65536 - 32768; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int bytes = c.bits / 8;
        std::string data;
        data.reserve(static_cast<std::size_t>(c.frames) * c.channels * bytes);
        for (std::int32_t j = 0; j < c.frames; ++j) {
            const std::int32_t first = valueOf(j) * (1 << (c.bits - 16));
            data += Le32(static_cast<std::uint32_t>(first)).substr(0, bytes);
            data += std::string(static_cast<std::size_t>((c.channels - 1) * bytes), '\x55');
        }
        const WavSource& source = Open(MakeWav({.Channels = c.channels,
                                                .Bits = c.bits,
                                                .ExtraChunkBeforeData = c.extraChunk,
                                                .Data = data}));
        ASSERT_EQ(source.FrameCount, c.frames);
        auto expect = [&](std::int32_t j) {
            ASSERT_EQ(ReadWavFrame(source, j), valueOf(j) / 32768.0) << "frame " << j;
        };
        for (std::int32_t j = 0; j < c.frames; ++j) {
            expect(j);
        }
        for (std::int32_t j = c.frames - 1; j >= 0; j -= 3) {
            expect(j);
        }
        for (std::int32_t j = 0; j < 200; ++j) {
            expect(static_cast<std::int32_t>((std::int64_t{j} * 104729) % c.frames));
        }
        CloseWavSource(oscillator);
    }
}

TEST_F(WavReaderTest, ReadsWhatSoxWrites) {
    if (std::system("command -v sox >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "sox is not installed";
    }
    const std::string path = dir.File("sox.wav");
    const std::string command =
        "sox -n -r 44100 -b 16 -c 2 '" + path + "' synth 0.1 sine 440 >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string bytes = test::ReadFileBytes(path);
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    const std::size_t first = data + 8;

    SetText(oscillator.WavFile, path);
    OpenWavSource(oscillator);
    const WavSource& source = oscillator.Render.Source;
    ASSERT_NE(source.Cache, nullptr);
    EXPECT_EQ(source.FrameCount, 4410);
    EXPECT_EQ(source.SampleRate, 44100);
    EXPECT_EQ(source.DataOffset, static_cast<std::int64_t>(first));
    double loudest = 0;
    for (std::int32_t j = 0; j < source.FrameCount; ++j) {
        const std::size_t at = first + 4 * static_cast<std::size_t>(j);
        const auto raw =
            static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
        ASSERT_EQ(ReadWavFrame(source, j), raw / 32768.0) << "frame " << j;
        loudest = std::max(loudest, std::abs(raw / 32768.0));
    }
    EXPECT_GT(loudest, 0.5); // a real sine, not a block of zeros read twice
}

} // namespace
} // namespace kettrik
