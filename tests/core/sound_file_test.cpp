#include "model/sound_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "model/number_text.h"
#include "model/profile_file.h"

namespace kettrik {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using namespace std::string_literals;

constexpr const char* NewSoundFile = "[Common]\r\n"
                                     "SampleFrequency=22050\r\n"
                                     "Oscillators=0\r\n"
                                     "[Oscillator 0]\r\n"
                                     "Enabled=1\r\n"
                                     "Filter=0\r\n"
                                     "WaveForm=0\r\n"
                                     "WavFile=\r\n"
                                     "Comment=\r\n"
                                     "LoopWav=0\r\n"
                                     "StartF=2000.000000\r\n"
                                     "EndF=0.000000\r\n"
                                     "StartA=0.950000\r\n"
                                     "EndA=0.000000\r\n"
                                     "StartT=0.000000\r\n"
                                     "EndT=200.000000\r\n"
                                     "AMModFac=0.000000\r\n"
                                     "AMModBy=-1\r\n"
                                     "FMModFac=0.000000\r\n"
                                     "FMModBy=-1\r\n"
                                     "CurveShape0=0.100000\r\n"
                                     "CurveShape1=8.000000\r\n"
                                     "CurveShape2=1.000000\r\n"
                                     "NoiseBW=0.000000\r\n"
                                     "NoiseChangeRate=0\r\n";

// The sound is large; tests keep it on the heap.
std::unique_ptr<Sound> MakeNewSound() {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    return sound;
}

std::unique_ptr<Sound> LoadFrom(const std::string& path) {
    auto sound = std::make_unique<Sound>();
    LoadSound(path, *sound);
    return sound;
}

std::unique_ptr<Sound> LoadText(const TempDir& dir, const std::string& text) {
    const std::string path = dir.File("in.ktu");
    WriteFileBytes(path, text);
    return LoadFrom(path);
}

std::unique_ptr<Sound> SoundOf(int count) {
    auto sound = MakeNewSound();
    sound->Count = count;
    for (int i = 0; i < count; ++i) {
        Oscillator& o = sound->Oscillators[i];
        o.Enabled = On;
        o.StartF = 100.0 * (i + 1);
        o.EndT = 10.0 * (i + 1);
        o.WaveForm = i % 5;
    }
    LinkOscillators(sound->Oscillators, sound->Count);
    return sound;
}

std::string CommentRoundTrip(const TempDir& dir, const std::string& comment) {
    auto sound = MakeNewSound();
    SetText(sound->Oscillators[0].Comment, comment);
    const std::string path = dir.File("comment.ktu");
    EXPECT_TRUE(SaveSound(path, *sound));
    return std::string(GetText(LoadFrom(path)->Oscillators[0].Comment));
}

bool SameBytes(const Sound& a, const Sound& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(SaveSound, newSoundIntoNewFileGivesTheDocumentedBytes) {
    TempDir dir;
    const std::string path = dir.File("new.ktu");
    ASSERT_TRUE(SaveSound(path, *MakeNewSound()));
    EXPECT_EQ(ReadFileBytes(path), NewSoundFile);
}

TEST(SaveSound, newSoundReadsBackEqualByteForByte) {
    TempDir dir;
    const std::string path = dir.File("new.ktu");
    const auto original = MakeNewSound();
    ASSERT_TRUE(SaveSound(path, *original));
    EXPECT_TRUE(SameBytes(*LoadFrom(path), *original));
}

TEST(SaveSound, editedSoundReadsBackWithSameOscillators) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = SoundOf(4);
    sound->SampleFrequency = 48000;
    Oscillator& o = sound->Oscillators[2];
    o.Filter = 1;
    o.Enabled = Inaudible;
    o.LoopWav = 1;
    o.EndF = 440.5;
    o.StartA = 0.25;
    o.EndA = 0.125;
    o.StartT = 12.5;
    o.AMModFac = -0.5;
    o.AMModBy = 1;
    o.FMModFac = 3;
    o.FMModBy = 2;
    o.CurveShape0 = 0.75;
    o.CurveShape1 = 2;
    o.CurveShape2 = 4;
    o.NoiseBW = 0.5;
    o.NoiseChangeRate = 7;
    SetText(o.WavFile, "/home/user/kick.wav");
    SetText(o.Comment, "snare body");
    ASSERT_TRUE(SaveSound(path, *sound));
    EXPECT_TRUE(SameBytes(*LoadFrom(path), *sound));
}

TEST(SaveSound, tinyValueBecomesZero) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = MakeNewSound();
    sound->Oscillators[0].EndF = 0.0000001;
    ASSERT_TRUE(SaveSound(path, *sound));
    EXPECT_NE(ReadFileBytes(path).find("EndF=0.000000\r\n"), std::string::npos);
    EXPECT_EQ(LoadFrom(path)->Oscillators[0].EndF, 0.0);
}

TEST(SaveSound, saveOverLongerFile_keepsLeftoverSectionsAndReadsBackShorter) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    ASSERT_TRUE(SaveSound(path, *SoundOf(5)));
    ASSERT_TRUE(SaveSound(path, *SoundOf(3)));
    const ProfileDocument document = ParseProfileText(ReadFileBytes(path));
    EXPECT_EQ(FindProfileValue(document, "Common", "Oscillators"), "2");
    EXPECT_EQ(FindProfileValue(document, "Oscillator 3", "StartF"), "400.000000");
    EXPECT_EQ(FindProfileValue(document, "Oscillator 4", "StartF"), "500.000000");
    const auto reread = LoadFrom(path);
    EXPECT_EQ(reread->Count, 3);
    EXPECT_TRUE(SameBytes(*reread, *SoundOf(3)));
}

TEST(SaveSound, fourOscillatorsOverSixReadBackAsFour) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    ASSERT_TRUE(SaveSound(path, *SoundOf(6)));
    ASSERT_TRUE(SaveSound(path, *SoundOf(4)));
    EXPECT_EQ(LoadFrom(path)->Count, 4);
}

TEST(SaveSound, foreignSectionsAndKeysSurvive) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    WriteFileBytes(path, "; written by hand\n"
                         "[Common]\n"
                         "Author=me\n"
                         "samplefrequency = 44100\n"
                         "\n"
                         "[Extra]\n"
                         "Keep=this\n"
                         "[Oscillator 0]\n"
                         "Private=1\n");
    ASSERT_TRUE(SaveSound(path, *MakeNewSound()));
    const std::string head = "; written by hand\r\n"
                             "[Common]\r\n"
                             "Author=me\r\n"
                             "SampleFrequency=22050\r\n"
                             "Oscillators=0\r\n"
                             "\r\n"
                             "[Extra]\r\n"
                             "Keep=this\r\n"
                             "[Oscillator 0]\r\n"
                             "Private=1\r\n"
                             "Enabled=1\r\n";
    EXPECT_EQ(ReadFileBytes(path).substr(0, head.size()), head);
    const ProfileDocument document = ParseProfileText(ReadFileBytes(path));
    EXPECT_EQ(FindProfileValue(document, "Extra", "Keep"), "this");
    EXPECT_EQ(FindProfileValue(document, "Oscillator 0", "Private"), "1");
    EXPECT_EQ(FindProfileValue(document, "Oscillator 0", "Enabled"), "1");
}

// SaveSound applies all updates in memory; the text must be what one WriteProfileString per
// key, in the file's key order, would have made of the same file.
TEST(SaveSound, givesSameTextAsKeyByKeyUpdates) {
    TempDir dir;
    const std::string original = "[oscillator 1]\nenabled=0\nExtra=x\n\n"
                                 "[Common]\nOscillators=7\n[Oscillator 0]\nComment=old\n"
                                 "CommentEscaped=stale\n[Tail]\nk=v";
    const std::string path = dir.File("s.ktu");
    WriteFileBytes(path, original);
    const auto sound = SoundOf(3);
    SetText(sound->Oscillators[1].Comment, "two\nlines");
    ASSERT_TRUE(SaveSound(path, *sound));

    ProfileDocument expected = ParseProfileText(original);
    SetProfileValue(expected, "Common", "SampleFrequency", "22050");
    SetProfileValue(expected, "Common", "Oscillators", "2");
    for (int i = 0; i < 3; ++i) {
        const Oscillator& o = sound->Oscillators[i];
        const std::string section = "Oscillator " + std::to_string(i);
        const auto set = [&](const char* key, const std::string& value) {
            SetProfileValue(expected, section, key, value);
        };
        set("Enabled", FormatInt(o.Enabled));
        set("Filter", FormatInt(o.Filter));
        set("WaveForm", FormatInt(o.WaveForm));
        set("WavFile", "");
        RemoveProfileValue(expected, section, "WavFileEscaped");
        if (i == 1) {
            set("Comment", "two lines");
            set("CommentEscaped", "two\\x0alines");
        } else {
            set("Comment", "");
            RemoveProfileValue(expected, section, "CommentEscaped");
        }
        set("LoopWav", FormatInt(o.LoopWav));
        set("StartF", FormatFixed6(o.StartF));
        set("EndF", FormatFixed6(o.EndF));
        set("StartA", FormatFixed6(o.StartA));
        set("EndA", FormatFixed6(o.EndA));
        set("StartT", FormatFixed6(o.StartT));
        set("EndT", FormatFixed6(o.EndT));
        set("AMModFac", FormatFixed6(o.AMModFac));
        set("AMModBy", FormatInt(o.AMModBy));
        set("FMModFac", FormatFixed6(o.FMModFac));
        set("FMModBy", FormatInt(o.FMModBy));
        set("CurveShape0", FormatFixed6(o.CurveShape0));
        set("CurveShape1", FormatFixed6(o.CurveShape1));
        set("CurveShape2", FormatFixed6(o.CurveShape2));
        set("NoiseBW", FormatFixed6(o.NoiseBW));
        set("NoiseChangeRate", FormatInt(o.NoiseChangeRate));
    }
    EXPECT_EQ(ReadFileBytes(path), FormatProfileText(expected));
}

TEST(SaveSound, readOnlyFolderFailsAndLeavesOldFile) {
    TempDir dir;
    const std::string folder = dir.File("locked");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/s.ktu";
    WriteFileBytes(path, "[Common]\r\nOscillators=0\r\n");
    namespace fs = std::filesystem;
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    {
        // Permissions do not bind a privileged user; then the case cannot be made here.
        std::FILE* probe = std::fopen((folder + "/probe").c_str(), "wb");
        if (probe != nullptr) {
            std::fclose(probe);
            fs::remove(folder + "/probe");
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
            GTEST_SKIP() << "read-only folders are writable for this user";
        }
    }
    EXPECT_FALSE(SaveSound(path, *MakeNewSound()));
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(ReadFileBytes(path), "[Common]\r\nOscillators=0\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(SaveSound, missingFolderFails) {
    TempDir dir;
    EXPECT_FALSE(SaveSound(dir.File("no/such.ktu"), *MakeNewSound()));
}

TEST(SaveSound, fileTooLargeToReadIsNotClobbered) {
    TempDir dir;
    const std::string path = dir.File("big.ktu");
    const std::string big(MaxProfileFileBytes + 1, '\n');
    WriteFileBytes(path, big);
    EXPECT_FALSE(SaveSound(path, *MakeNewSound()));
    EXPECT_EQ(std::filesystem::file_size(path), big.size());
    EXPECT_EQ(LoadFrom(path)->Count, 1);
    EXPECT_FALSE(IsSoundFile(path));
}

TEST(SaveSound, countOutsideTableIsWrittenWithinIt) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = MakeNewSound();
    sound->Count = 0;
    ASSERT_TRUE(SaveSound(path, *sound));
    EXPECT_EQ(ReadFileBytes(path), NewSoundFile);
    sound->Count = 1000;
    ASSERT_TRUE(SaveSound(path, *sound));
    EXPECT_EQ(LoadFrom(path)->Count, MaxOscillators);
}

TEST(SaveSound, fullTableOf128OscillatorsRoundTrips) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    const auto sound = SoundOf(MaxOscillators);
    ASSERT_TRUE(SaveSound(path, *sound));
    ASSERT_TRUE(SaveSound(path, *sound)); // over itself: updated in place, still whole
    EXPECT_TRUE(SameBytes(*LoadFrom(path), *sound));
}

TEST(LoadSound, missingFileGivesOneOffOscillatorAt22050) {
    TempDir dir;
    const auto sound = LoadFrom(dir.File("none.ktu"));
    EXPECT_EQ(sound->SampleFrequency, 22050);
    EXPECT_EQ(sound->Count, 1);
    const Oscillator& o = sound->Oscillators[0];
    EXPECT_EQ(o.Enabled, Off);
    EXPECT_EQ(o.StartF, 2000.0);
    EXPECT_EQ(o.StartA, 1.0);
    EXPECT_EQ(o.CurveShape0, 0.1);
    EXPECT_EQ(o.CurveShape1, 10.0);
    EXPECT_EQ(o.CurveShape2, 1.0);
    EXPECT_EQ(o.NoiseBW, 0.1);
    EXPECT_EQ(o.NoiseChangeRate, 1);
    EXPECT_EQ(o.EndT, 200.0);
    EXPECT_EQ(o.AMModBy, NoOscillator);
    EXPECT_EQ(o.FMModBy, NoOscillator);
    EXPECT_EQ(GetText(o.Comment), "");
}

TEST(LoadSound, unreadableFileGivesDefaults) {
    TempDir dir;
    const auto sound = LoadFrom(dir.Path());
    EXPECT_EQ(sound->Count, 1);
    EXPECT_EQ(sound->SampleFrequency, 22050);
    EXPECT_EQ(sound->Oscillators[0].Enabled, Off);
}

TEST(LoadSound, correctsRoundedSampleFrequencies) {
    TempDir dir;
    const auto rate = [&](const char* stored) {
        return LoadText(dir, std::string("[Common]\nSampleFrequency=") + stored + "\n")
            ->SampleFrequency;
    };
    EXPECT_EQ(rate("11000"), 11025);
    EXPECT_EQ(rate("22000"), 22050);
    EXPECT_EQ(rate("44000"), 44100);
    EXPECT_EQ(rate("32000"), 32000);
    EXPECT_EQ(rate("48000"), 48000);
    EXPECT_EQ(rate("fast"), 0);
}

TEST(LoadSound, countIsLastPositionPlusOneWithinTable) {
    TempDir dir;
    const auto count = [&](const char* stored) {
        return LoadText(dir, std::string("[Common]\nOscillators=") + stored + "\n")->Count;
    };
    EXPECT_EQ(count("0"), 1);
    EXPECT_EQ(count("3"), 4);
    EXPECT_EQ(count("100"), 101);
    EXPECT_EQ(count("126"), 127);
    EXPECT_EQ(count("127"), 128);
    EXPECT_EQ(count("128"), 128);
    EXPECT_EQ(count("500"), 128);
    EXPECT_EQ(count("2147483647"), 128);
    EXPECT_EQ(count("99999999999999"), 128);
    EXPECT_EQ(count("-1"), 1);
    EXPECT_EQ(count("-5"), 1);
    EXPECT_EQ(count("-2147483648"), 1);
    EXPECT_EQ(LoadText(dir, "[Common]\nSampleFrequency=44100\n")->Count, 1);
}

TEST(LoadSound, readsOnlySectionsUpToStoredLastPosition) {
    TempDir dir;
    const auto sound = LoadText(dir, "[Common]\nOscillators=1\n"
                                     "[Oscillator 0]\nEnabled=1\n"
                                     "[Oscillator 1]\nEnabled=2\n"
                                     "[Oscillator 2]\nEnabled=1\n");
    EXPECT_EQ(sound->Count, 2);
    EXPECT_EQ(sound->Oscillators[0].Enabled, On);
    EXPECT_EQ(sound->Oscillators[1].Enabled, Inaudible);
    // Slots beyond Count are new oscillators, not what the file holds beyond.
    Oscillator fresh;
    NewOscillator(fresh);
    EXPECT_EQ(std::memcmp(&sound->Oscillators[2], &fresh, sizeof fresh), 0);
}

TEST(LoadSound, enabledIsAbsoluteValue) {
    TempDir dir;
    const auto enabled = [&](const char* stored) {
        return LoadText(dir, std::string("[Oscillator 0]\nEnabled=") + stored + "\n")
            ->Oscillators[0]
            .Enabled;
    };
    EXPECT_EQ(enabled("-1"), On);
    EXPECT_EQ(enabled("-2"), Inaudible);
    EXPECT_EQ(enabled("3"), 3);
    EXPECT_EQ(enabled("-2147483648"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(enabled("-99999999999"), std::numeric_limits<std::int32_t>::max());
}

TEST(LoadSound, emptyValueReadsZeroButMissingKeyReadsDefault) {
    TempDir dir;
    const auto empty = LoadText(dir, "[Oscillator 0]\nCurveShape0=\nStartA=\nFMModBy=\n");
    EXPECT_EQ(empty->Oscillators[0].CurveShape0, 0.0);
    EXPECT_EQ(empty->Oscillators[0].StartA, 0.0);
    EXPECT_EQ(empty->Oscillators[0].FMModBy, 0);
    const auto missing = LoadText(dir, "[Oscillator 0]\nEnabled=1\n");
    EXPECT_EQ(missing->Oscillators[0].CurveShape0, 0.1);
    EXPECT_EQ(missing->Oscillators[0].StartA, 1.0);
    EXPECT_EQ(missing->Oscillators[0].FMModBy, NoOscillator);
}

TEST(LoadSound, quotesAreStrippedAndNamesIgnoreCase) {
    TempDir dir;
    const auto sound =
        LoadText(dir, "[COMMON]\r\nsamplefrequency=\"44000\"\r\noscillators= '1' \r\n"
                      "[oscillator 1]\r\nENABLED=1\r\nstartf = \"440.5\"\r\n"
                      "comment=\"quoted text\"\r\nwavfile='C:\\a b.wav'\r\n");
    EXPECT_EQ(sound->SampleFrequency, 44100);
    EXPECT_EQ(sound->Count, 2);
    const Oscillator& o = sound->Oscillators[1];
    EXPECT_EQ(o.Enabled, On);
    EXPECT_EQ(o.StartF, 440.5);
    EXPECT_EQ(GetText(o.Comment), "quoted text");
    EXPECT_EQ(GetText(o.WavFile), "C:\\a b.wav");
}

TEST(LoadSound, valuesAreCutBeforeParsing) {
    TempDir dir;
    const std::string number = std::string(62, '0') + "5";
    const std::string text(300, 't');
    const auto sound = LoadText(dir, "[Oscillator 0]\nStartF=" + number + "\nEndF=" + "1" +
                                         std::string(61, '0') + "\nComment=" + text + "\n");
    EXPECT_EQ(sound->Oscillators[0].StartF, 0.0);
    EXPECT_EQ(sound->Oscillators[0].EndF, 1e61);
    EXPECT_EQ(GetText(sound->Oscillators[0].Comment), text.substr(0, 249));
}

TEST(LoadSound, hugeOrNonNumbersReadZero) {
    TempDir dir;
    const auto sound = LoadText(dir, "[Oscillator 0]\nStartF=1e999\nEndF=nan\nStartA=inf\n"
                                     "EndT=-1e400\nNoiseChangeRate=99999999999\n");
    const Oscillator& o = sound->Oscillators[0];
    EXPECT_EQ(o.StartF, 0.0);
    EXPECT_EQ(o.EndF, 0.0);
    EXPECT_EQ(o.StartA, 0.0);
    EXPECT_EQ(o.EndT, 0.0);
    EXPECT_EQ(o.NoiseChangeRate, std::numeric_limits<std::int32_t>::max());
}

TEST(LoadSound, linksOscillatorsAndClearsRenderState) {
    TempDir dir;
    const auto sound = LoadText(dir, "[Common]\nOscillators=1\n"
                                     "[Oscillator 0]\nEnabled=1\nEndT=100\nEndF=440\nEndA=0.5\n"
                                     "[Oscillator 1]\nEnabled=1\nStartT=100\nStartF=440.9\n"
                                     "StartA=0.59\n");
    EXPECT_EQ(sound->Oscillators[0].NextLinked, 1);
    EXPECT_EQ(sound->Oscillators[1].PrevLinked, 0);
    RenderState zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&sound->Oscillators[0].Render, &zero, sizeof zero), 0);
}

TEST(LoadSound, malformedFilesAreDefined) {
    TempDir dir;
    const std::string cases[] = {
        "\0\0\0[Common\0]\nOscillators=2\n"s,
        "[Common\nOscillators=5\n",
        "Oscillators=5\n[Oscillator 0]\nEnabled=1",
        std::string(1 << 20, 'x') + "=" + std::string(1 << 16, 'y'),
        "\xff\xfe[\x00\x01\x02]\r\r\r==\n=\n["s,
    };
    for (const std::string& text : cases) {
        const auto sound = LoadText(dir, text);
        EXPECT_GE(sound->Count, 1);
        EXPECT_LE(sound->Count, MaxOscillators);
    }
    EXPECT_EQ(LoadText(dir, "[Common\nOscillators=5\n")->Count, 1);
    EXPECT_EQ(LoadText(dir, "Oscillators=5\n[Oscillator 0]\nEnabled=1")->Oscillators[0].Enabled,
              On);
}

// Undo compares whole sounds with memcmp: what a sound holds must not depend on the
// memory it was built in.
TEST(SoundModel, equalSoundsAreEqualByteForByteWhateverTheMemoryHeld) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    ASSERT_TRUE(SaveSound(path, *SoundOf(3)));

    alignas(Sound) static unsigned char first[sizeof(Sound)];
    alignas(Sound) static unsigned char second[sizeof(Sound)];
    std::memset(first, 0xAB, sizeof first);
    std::memset(second, 0x54, sizeof second);
    Sound* a = new (first) Sound;
    Sound* b = new (second) Sound;
    NewSound(*a);
    NewSound(*b);
    EXPECT_EQ(std::memcmp(a, b, sizeof(Sound)), 0);

    std::memset(first, 0xAB, sizeof first);
    std::memset(second, 0x54, sizeof second);
    a = new (first) Sound;
    b = new (second) Sound;
    LoadSound(path, *a);
    LoadSound(path, *b);
    EXPECT_EQ(std::memcmp(a, b, sizeof(Sound)), 0);
}

TEST(SoundTexts, plainCommentAndWindowsPathAreWrittenVerbatimWithoutCompanion) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = MakeNewSound();
    SetText(sound->Oscillators[0].Comment, "Deep kick, 50% \"punch\" it's");
    SetText(sound->Oscillators[0].WavFile, "C:\\Samples\\Kicks\\kick 01.wav");
    ASSERT_TRUE(SaveSound(path, *sound));
    const std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes.find("\r\nComment=Deep kick, 50% \"punch\" it's\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nWavFile=C:\\Samples\\Kicks\\kick 01.wav\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("Escaped"), std::string::npos);
    EXPECT_TRUE(SameBytes(*LoadFrom(path), *sound));
}

TEST(SoundTexts, twoLineCommentRoundTrips) {
    TempDir dir;
    EXPECT_EQ(CommentRoundTrip(dir, "first line\r\nsecond line"), "first line\r\nsecond line");
    EXPECT_EQ(CommentRoundTrip(dir, "a\nb\tc\x7f"), "a\nb\tc\x7f");
    const std::string bytes = ReadFileBytes(dir.File("comment.ktu"));
    EXPECT_NE(bytes.find("\r\nComment=a b c \r\nCommentEscaped=a\\x0ab\\x09c\\x7f\r\n"),
              std::string::npos);
}

TEST(SoundTexts, textsThatMainKeyWouldChangeRoundTrip) {
    TempDir dir;
    for (const std::string text : {" leading", "trailing ", " ", "\"quoted\"", "'single'",
                                   "back\\slash\n", "\"", "x\\x41"}) {
        EXPECT_EQ(CommentRoundTrip(dir, text), text);
    }
}

TEST(SoundTexts, lineBreaksCannotInjectKeysOrSections) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = MakeNewSound();
    const std::string attack = "X\n[Common]\nOscillators=99";
    SetText(sound->Oscillators[0].Comment, attack);
    SetText(sound->Oscillators[0].WavFile, "a.wav\r\nEnabled=0");
    ASSERT_TRUE(SaveSound(path, *sound));
    const ProfileDocument document = ParseProfileText(ReadFileBytes(path));
    ASSERT_EQ(document.Sections.size(), 2u);
    EXPECT_EQ(FindProfileValue(document, "Common", "Oscillators"), "0");
    const auto reread = LoadFrom(path);
    EXPECT_EQ(reread->Count, 1);
    EXPECT_EQ(reread->Oscillators[0].Enabled, On);
    EXPECT_EQ(GetText(reread->Oscillators[0].Comment), attack);
    EXPECT_EQ(GetText(reread->Oscillators[0].WavFile), "a.wav\r\nEnabled=0");
}

TEST(SoundTexts, staleCompanionIsIgnoredAfterAnotherProgramRewroteMainKey) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = MakeNewSound();
    SetText(sound->Oscillators[0].Comment, "old\nnote");
    ASSERT_TRUE(SaveSound(path, *sound));
    ASSERT_TRUE(WriteProfileString(path, "Oscillator 0", "Comment", "rewritten elsewhere"));
    EXPECT_EQ(GetText(LoadFrom(path)->Oscillators[0].Comment), "rewritten elsewhere");
    EXPECT_EQ(ReadCommentPreview(path), "rewritten elsewhere");
}

TEST(SoundTexts, invalidCompanionIsIgnored) {
    TempDir dir;
    for (const char* companion : {"a\\q", "a\\x4", "a\\x00", "a\\", "a\\xzz"}) {
        const auto sound = LoadText(dir, std::string("[Oscillator 0]\nComment=a\nCommentEscaped=") +
                                             companion + "\n");
        EXPECT_EQ(GetText(sound->Oscillators[0].Comment), "a") << companion;
    }
    const auto consistent = LoadText(dir, "[Oscillator 0]\nComment=a b\nCommentEscaped=a\\x0Ab\n");
    EXPECT_EQ(GetText(consistent->Oscillators[0].Comment), "a\nb");
}

TEST(SoundTexts, staleCompanionIsRemovedWhenTextBecomesPlain) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    auto sound = MakeNewSound();
    SetText(sound->Oscillators[0].Comment, "two\nlines");
    ASSERT_TRUE(SaveSound(path, *sound));
    SetText(sound->Oscillators[0].Comment, "plain");
    ASSERT_TRUE(SaveSound(path, *sound));
    EXPECT_EQ(ReadFileBytes(path).find("Escaped"), std::string::npos);
    EXPECT_EQ(GetText(LoadFrom(path)->Oscillators[0].Comment), "plain");
}

TEST(SoundTexts, longTextsAreCutTo249) {
    TempDir dir;
    const std::string longText = std::string(200, 'a') + "\n" + std::string(54, 'b');
    EXPECT_EQ(CommentRoundTrip(dir, longText), longText.substr(0, 249));
}

TEST(IsSoundFile, needsOscillatorsKeyInCommon) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    EXPECT_FALSE(IsSoundFile(path));
    WriteFileBytes(path, "[Common]\nSampleFrequency=22050\n");
    EXPECT_FALSE(IsSoundFile(path));
    WriteFileBytes(path, "[common]\noscillators=\n");
    EXPECT_TRUE(IsSoundFile(path));
    WriteFileBytes(path, "[Common]\nOscillators=9876\n");
    EXPECT_FALSE(IsSoundFile(path));
    ASSERT_TRUE(SaveSound(path, *MakeNewSound()));
    EXPECT_TRUE(IsSoundFile(path));
}

TEST(ReadCommentPreview, firstOscillatorCommentCutTo127) {
    TempDir dir;
    const std::string path = dir.File("s.ktu");
    EXPECT_EQ(ReadCommentPreview(path), "");
    auto sound = SoundOf(2);
    const std::string comment = "line one\n" + std::string(200, 'c');
    SetText(sound->Oscillators[0].Comment, comment);
    SetText(sound->Oscillators[1].Comment, "second");
    ASSERT_TRUE(SaveSound(path, *sound));
    EXPECT_EQ(ReadCommentPreview(path), comment.substr(0, 127));
}

} // namespace
} // namespace kettrik
