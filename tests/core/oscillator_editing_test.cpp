#include "model/oscillator_editing.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

// A NewOscillator's start frequency; the chain's oscillators start at their position + 1 Hz.
constexpr double Fresh = 2000;

// A sound whose oscillators' start frequencies tell them apart, with the FM and AM
// references given.
std::unique_ptr<Sound> Chain(const std::vector<std::int32_t>& fmModBy) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->Count = static_cast<std::int32_t>(fmModBy.size());
    for (std::size_t i = 0; i < fmModBy.size(); ++i) {
        Oscillator& o = sound->Oscillators[i];
        NewOscillator(o);
        o.StartF = static_cast<double>(i) + 1;
        o.FMModBy = fmModBy[i];
        o.AMModBy = fmModBy[i];
    }
    return sound;
}

std::vector<std::int32_t> References(const Sound& sound) {
    std::vector<std::int32_t> refs;
    for (int i = 0; i < sound.Count; ++i) {
        EXPECT_EQ(sound.Oscillators[i].FMModBy, sound.Oscillators[i].AMModBy);
        refs.push_back(sound.Oscillators[i].FMModBy);
    }
    return refs;
}

std::vector<double> Origins(const Sound& sound) {
    std::vector<double> origins;
    for (int i = 0; i < sound.Count; ++i) {
        origins.push_back(sound.Oscillators[i].StartF);
    }
    return origins;
}

TEST(DeleteOscillator, referencesToTheDeletedOneAreClearedAndTheOthersFollow) {
    // 3 is modulated by 2, 2 by 1.
    const auto sound = Chain({-1, -1, 1, 2});
    ASSERT_TRUE(DeleteOscillator(*sound, 1));
    EXPECT_EQ(sound->Count, 3);
    EXPECT_EQ(Origins(*sound), (std::vector<double>{1, 3, 4}));
    EXPECT_EQ(References(*sound), (std::vector<std::int32_t>{-1, -1, 1}));
}

TEST(DeleteOscillator, refusesTheLastOneAndPositionsOutsideTheTable) {
    const auto one = Chain({-1});
    EXPECT_FALSE(DeleteOscillator(*one, 0));
    EXPECT_EQ(one->Count, 1);
    const auto two = Chain({-1, 0});
    for (int position : {-1, 2, 500}) {
        EXPECT_FALSE(DeleteOscillator(*two, position)) << position;
    }
    EXPECT_EQ(References(*two), (std::vector<std::int32_t>{-1, 0}));
    ASSERT_TRUE(DeleteOscillator(*two, 1)); // the last one: nothing moves
    EXPECT_EQ(two->Count, 1);
}

TEST(InsertOscillator, raisesEveryReferenceAtOrAboveThePosition) {
    const struct {
        std::vector<std::int32_t> Before;
        int Position;
        std::vector<std::int32_t> After; // the inserted NewOscillator refers to nothing
        std::vector<double> Origins;
    } cases[] = {
        {{-1, 0, 1}, 0, {-1, -1, 1, 2}, {Fresh, 1, 2, 3}},
        {{-1, 0, 1}, 1, {-1, -1, 0, 2}, {1, Fresh, 2, 3}},
        {{-1, 0, 1}, 3, {-1, 0, 1, -1}, {1, 2, 3, Fresh}},
    };
    for (const auto& c : cases) {
        const auto sound = Chain(c.Before);
        ASSERT_TRUE(InsertOscillator(*sound, c.Position));
        EXPECT_EQ(References(*sound), c.After) << c.Position;
        EXPECT_EQ(Origins(*sound), c.Origins) << c.Position;
        EXPECT_EQ(sound->Oscillators[c.Position].Enabled, Off);
    }
}

TEST(InsertOscillator, aPastedRecordKeepsItsOwnReferences) {
    // A copy of oscillator 2, modulated by 0, pasted at 0 refers to 0: itself now.
    const auto sound = Chain({-1, -1, 0});
    const Oscillator copy = sound->Oscillators[2];
    ASSERT_TRUE(InsertOscillator(*sound, 0, &copy));
    EXPECT_EQ(References(*sound), (std::vector<std::int32_t>{0, -1, -1, 1}));
    EXPECT_EQ(Origins(*sound), (std::vector<double>{3, 1, 2, 3}));
}

TEST(InsertOscillator, aFullTableOrABadPositionChangesNothing) {
    const auto sound = Chain(std::vector<std::int32_t>(MaxOscillators, 0));
    EXPECT_FALSE(CanGrow(*sound));
    EXPECT_FALSE(InsertOscillator(*sound, 0));
    EXPECT_EQ(sound->Count, MaxOscillators);
    EXPECT_EQ(sound->Oscillators[MaxOscillators - 1].StartF, MaxOscillators);
    const auto small = Chain({-1, 0});
    for (int position : {-1, 3}) {
        EXPECT_FALSE(InsertOscillator(*small, position)) << position;
    }
    EXPECT_EQ(small->Count, 2);
}

} // namespace
} // namespace kettrik
