// The player against real ALSA devices: the "file" plugin writes exactly the bytes that
// playback sends into a file (or a named pipe, whose reader then decides how fast the
// "device" plays).
#include "platform/audio_player.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <thread>
#include <unistd.h>

#include "core/test_support.h"
#include "engine/wav_writer.h"
#include "model/sound.h"

namespace kettrik {
namespace {

using test::MakeWav;
using test::WavLayout;

// ALSA reads its configuration once per process, so the devices are set up once, in a HOME
// of their own, before any test runs.
class AlsaSinks : public ::testing::Environment {
public:
    void SetUp() override {
        home_ = std::make_unique<test::TempDir>();
        ::mkfifo(PipePath().c_str(), 0600);
        test::WriteFileBytes(home_->File(".asoundrc"), Sink("kettrik_capture", CapturePath()) +
                                                           Sink("kettrik_pipe", PipePath()));
        ::setenv("HOME", home_->Path().c_str(), 1);
    }
    void TearDown() override { home_.reset(); }

    static std::string CapturePath() { return home_->File("capture.raw"); }
    static std::string PipePath() { return home_->File("capture.fifo"); }

private:
    static std::string Sink(const std::string& name, const std::string& path) {
        return "pcm." + name + " {\n type file\n slave.pcm \"null\"\n file \"" + path +
               "\"\n format \"raw\"\n}\n";
    }
    static inline std::unique_ptr<test::TempDir> home_;
};

const auto* const alsaSinks = ::testing::AddGlobalTestEnvironment(new AlsaSinks);

// Sample bytes that change from frame to frame, so a lost or repeated chunk shows.
std::string PatternBytes(std::size_t count, unsigned seed) {
    std::string bytes(count, '\0');
    std::uint32_t state = seed * 2654435761U + 1;
    for (char& b : bytes) {
        state = state * 1103515245U + 12345U;
        b = static_cast<char>(state >> 24);
    }
    return bytes;
}

// Compares sample bytes without printing them all when they differ.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                         << " were expected; first difference at byte " << at;
}

class AudioPlayerTest : public ::testing::Test {
protected:
    void UseDevice(const char* name) { ::setenv("KETTRIK_AUDIO_DEVICE", name, 1); }
    void SetUp() override {
        UseDevice("kettrik_capture");
        std::remove(AlsaSinks::CapturePath().c_str());
    }
    void TearDown() override { ::unsetenv("KETTRIK_AUDIO_DEVICE"); }

    std::string WriteWav(const std::string& name, const WavLayout& layout) {
        const std::string path = dir_.File(name);
        test::WriteFileBytes(path, MakeWav(layout));
        return path;
    }
    // A 16-bit mono file of the given length.
    std::string WriteMono16(const std::string& name, double seconds, unsigned seed) {
        const auto bytes = static_cast<std::size_t>(seconds * 22050) * 2;
        return WriteWav(name, {.Data = PatternBytes(bytes, seed)});
    }
    // Sample bytes of a WAV file written by WriteWav with a plain 44-byte header.
    static std::string SamplesOf(const std::string& path) {
        return test::ReadFileBytes(path).substr(44);
    }

    test::TempDir dir_;
};

// Reads everything that arrives through the pipe device, on its own thread, once told to.
class PipeReader {
public:
    ~PipeReader() { Join(); }
    // Reads the first `bytes` bytes, then waits for Resume before reading on to the end.
    void Start(std::size_t pauseAfter) {
        thread_ = std::thread([this, pauseAfter] {
            const int fd = ::open(AlsaSinks::PipePath().c_str(), O_RDONLY);
            if (fd < 0) {
                return;
            }
            char block[4096];
            for (;;) {
                if (data_.size() >= pauseAfter && !resumed_.load()) {
                    paused_.store(true);
                    while (!resumed_.load()) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    }
                }
                const std::size_t want = resumed_.load()
                                             ? sizeof block
                                             : std::min(sizeof block, pauseAfter - data_.size());
                const ssize_t got = ::read(fd, block, want);
                if (got <= 0) {
                    break;
                }
                data_.append(block, static_cast<std::size_t>(got));
            }
            ::close(fd);
        });
    }
    void WaitUntilPaused() {
        while (!paused_.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void Resume() { resumed_.store(true); }
    // The bytes read, once the writer has closed the pipe.
    const std::string& Join() {
        Resume();
        if (thread_.joinable()) {
            thread_.join();
        }
        return data_;
    }

private:
    std::thread thread_;
    std::string data_;
    std::atomic<bool> paused_{false};
    std::atomic<bool> resumed_{false};
};

TEST_F(AudioPlayerTest, sendsTheSampleBytesUnchangedInEveryFormat) {
    struct Case {
        const char* Name;
        WavLayout Layout;
    };
    const std::string list = "LIST" + test::Le32(5) + "abcde" + std::string(1, '\0');
    const Case cases[] = {
        {"8-bit stereo", {.Channels = 2, .SampleRate = 8000, .Bits = 8}},
        {"16-bit mono", {}},
        {"24-bit mono at 96 kHz", {.SampleRate = 96000, .Bits = 24}},
        {"32-bit integer stereo", {.Channels = 2, .SampleRate = 44100, .Bits = 32}},
        {"32-bit float stereo", {.Format = 3, .Channels = 2, .SampleRate = 48000, .Bits = 32}},
        {"six channels", {.Channels = 6, .SampleRate = 48000}},
        {"odd-sized chunks around fmt",
         {.ExtraChunkBeforeFmt = list, .ExtraChunkBeforeData = list}},
        {"fmt with extra bytes", {.FmtExtraBytes = 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WavLayout layout = c.Layout;
        const std::size_t frame = layout.Channels * (layout.Bits / 8U);
        layout.Data = PatternBytes(frame * 3000, 7);
        const std::string path = WriteWav("in.wav", layout);
        {
            AudioPlayer player;
            ASSERT_TRUE(player.Play(path));
            EXPECT_EQ(player.CurrentPath(), path);
            ASSERT_TRUE(player.WaitUntilIdle(5000));
        }
        EXPECT_TRUE(SameBytes(test::ReadFileBytes(AlsaSinks::CapturePath()), layout.Data));
    }
}

TEST_F(AudioPlayerTest, playsARenderedSoundAndTheWholeFileOfAnOverlongHeader) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    const std::string rendered = dir_.File("rendered.wav");
    ASSERT_TRUE(
        RenderToWav(rendered, sound->Oscillators, sound->SampleFrequency, sound->Count).Written);
    // A writer that streamed its output and never went back to fix the size.
    const std::string data = PatternBytes(1001 * 2, 3);
    const std::string streamed =
        WriteWav("streamed.wav", {.Data = data + "x", .DataSizeOverride = 0xFFFFFFFF});

    for (const auto& [path, expected] :
         {std::pair{rendered, SamplesOf(rendered)}, std::pair{streamed, data}}) {
        SCOPED_TRACE(path);
        {
            AudioPlayer player;
            ASSERT_TRUE(player.Play(path));
            ASSERT_TRUE(player.WaitUntilIdle(5000));
            EXPECT_FALSE(player.IsPlaying());
        }
        EXPECT_TRUE(SameBytes(test::ReadFileBytes(AlsaSinks::CapturePath()), expected));
    }
}

TEST_F(AudioPlayerTest, aNewPlayCutsTheFirstSoundShortAndPlaysTheSecondWhole) {
    UseDevice("kettrik_pipe");
    const std::string first = WriteMono16("first.wav", 5.0, 1);
    const std::string second = WriteMono16("second.wav", 0.5, 2);
    PipeReader reader;
    {
        AudioPlayer player;
        // Nobody reads the pipe yet, so the device cannot take a single frame: Play must
        // return all the same.
        ASSERT_TRUE(player.Play(first));
        EXPECT_TRUE(player.IsPlaying());
        reader.Start(8192);
        reader.WaitUntilPaused();
        ASSERT_TRUE(player.Play(second));
        EXPECT_EQ(player.CurrentPath(), second);
        reader.Resume();
        ASSERT_TRUE(player.WaitUntilIdle(10000));
    }
    const std::string& captured = reader.Join();
    const std::string firstSamples = SamplesOf(first);
    const std::string secondSamples = SamplesOf(second);
    ASSERT_GT(captured.size(), secondSamples.size() + 8192);
    const std::size_t firstPart = captured.size() - secondSamples.size();
    EXPECT_LT(firstPart, firstSamples.size());
    EXPECT_TRUE(SameBytes(captured.substr(0, firstPart), firstSamples.substr(0, firstPart)));
    EXPECT_TRUE(SameBytes(captured.substr(firstPart), secondSamples));
}

TEST_F(AudioPlayerTest, stopSilencesAtOnceAndThePlayerPlaysAgainAfterwards) {
    UseDevice("kettrik_pipe");
    const std::string longSound = WriteMono16("long.wav", 5.0, 4);
    const std::string shortSound = WriteMono16("short.wav", 0.2, 5);
    PipeReader reader;
    {
        AudioPlayer player;
        ASSERT_TRUE(player.Play(longSound));
        reader.Start(8192);
        reader.WaitUntilPaused();
        player.Stop(); // while the device is still blocked
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(player.CurrentPath(), "");
        EXPECT_TRUE(player.WaitUntilIdle(0));
        ASSERT_TRUE(player.Play(shortSound));
        reader.Resume();
        ASSERT_TRUE(player.WaitUntilIdle(10000));
    }
    const std::string& captured = reader.Join();
    const std::string longSamples = SamplesOf(longSound);
    const std::string shortSamples = SamplesOf(shortSound);
    ASSERT_GE(captured.size(), shortSamples.size() + 8192);
    const std::size_t longPart = captured.size() - shortSamples.size();
    EXPECT_LT(longPart, longSamples.size() / 2);
    EXPECT_TRUE(SameBytes(captured.substr(0, longPart), longSamples.substr(0, longPart)));
    EXPECT_TRUE(SameBytes(captured.substr(longPart), shortSamples));
}

TEST_F(AudioPlayerTest, refusesWhatIsNotAPlayableWavAndStopsThePreviousSound) {
    const std::string good = WriteMono16("good.wav", 0.1, 6);
    struct Case {
        const char* Name;
        std::string Bytes; // empty: no file at all
    };
    const std::string pcm = PatternBytes(400, 8);
    const Case cases[] = {
        {"missing file", ""},
        {"text file", "[Common]\nOscillators=1\n"},
        {"RIFF but not WAVE", "RIFF" + test::Le32(4) + "AVI "},
        {"compressed", MakeWav({.Format = 2, .Bits = 4, .Data = pcm})},
        {"12-bit", MakeWav({.Bits = 12, .Data = pcm})},
        {"no channels", MakeWav({.Channels = 0, .Data = pcm})},
        {"rate zero", MakeWav({.SampleRate = 0, .Data = pcm})},
        {"short fmt chunk", "RIFF" + test::Le32(24) + "WAVEfmt " + test::Le32(8) + test::Le16(1) +
                                test::Le16(1) + test::Le32(22050) + "data" + test::Le32(0)},
        {"no data chunk", MakeWav({.Data = pcm}).substr(0, 36)},
        {"data before fmt, cut off", "RIFF" + test::Le32(12) + "WAVEdata" + test::Le32(99)},
    };
    AudioPlayer player;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = dir_.File("bad.wav");
        std::remove(path.c_str());
        if (!c.Bytes.empty()) {
            test::WriteFileBytes(path, c.Bytes);
        }
        ASSERT_TRUE(player.Play(good));
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(player.Play(path));
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(player.CurrentPath(), "");
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_NE(errors.find(path), std::string::npos) << errors;
    }
    ASSERT_TRUE(player.Play(good));
    EXPECT_TRUE(player.WaitUntilIdle(5000));
}

TEST_F(AudioPlayerTest, withoutADeviceEachPlayFailsWithOneLineAndNothingElseChanges) {
    UseDevice("kettrik_no_such_device");
    const std::string path = WriteMono16("sound.wav", 0.1, 9);
    AudioPlayer player;
    for (int round = 0; round < 2; ++round) {
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(player.Play(path));
        EXPECT_TRUE(player.WaitUntilIdle(5000));
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_NE(errors.find("kettrik_no_such_device"), std::string::npos) << errors;
    }
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

} // namespace
} // namespace kettrik
