#include "engine/temp_wav_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "engine/render.h"

namespace kettrik {
namespace {

namespace fs = std::filesystem;

TEST(TempWavFile, namesAreEightHexDigitsFromTheGeneratorInAPrivateFolder) {
    SetNoiseRandomState(1);
    TempWavFile temp;
    const std::string name = temp.NewName(".wav");
    ASSERT_FALSE(name.empty());
    // The generator's first number from state 1 is 41, hexadecimal 29.
    EXPECT_EQ(fs::path(name).filename(), "00000029.wav");
    const fs::path folder = fs::path(name).parent_path();
    EXPECT_EQ(folder.string(), PrivateTempFolder());
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::exists(name)); // reserved at once, so nobody else can take it
    EXPECT_EQ(fs::path(temp.NewName()).extension(), ".tmp");
}

TEST(TempWavFile, newNameDeletesThePreviousFileAndDestructionTheLast) {
    std::string first, second;
    {
        TempWavFile temp;
        first = temp.NewName(".wav");
        test::WriteFileBytes(first, "rendered");
        second = temp.NewName(".wav");
        EXPECT_FALSE(fs::exists(first));
        EXPECT_TRUE(fs::exists(second));
        EXPECT_EQ(temp.CurrentName(), second);
    }
    EXPECT_FALSE(fs::exists(second));
}

TEST(TempWavFile, aNameHeldByAnotherHolderIsNeverReused) {
    SetNoiseRandomState(1);
    TempWavFile holder;
    const std::string taken = holder.NewName(".wav");
    test::WriteFileBytes(taken, "still playing");
    SetNoiseRandomState(1); // the generator comes round to the same number
    TempWavFile other;
    const std::string name = other.NewName(".wav");
    EXPECT_NE(name, taken);
    EXPECT_EQ(test::ReadFileBytes(taken), "still playing");
}

TEST(TempWavFile, currentNameMakesAWavNameWhenNoneIsHeld) {
    TempWavFile temp;
    const std::string name = temp.CurrentName();
    const std::string file = fs::path(name).filename().string();
    ASSERT_EQ(file.size(), 12u);
    EXPECT_EQ(file.substr(0, 4), "0000");
    EXPECT_EQ(file.find_first_not_of("0123456789abcdef"), 8u);
    EXPECT_EQ(file.substr(8), ".wav");
}

} // namespace
} // namespace kettrik
