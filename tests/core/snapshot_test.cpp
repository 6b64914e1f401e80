#include "model/snapshot.h"

#include <cstddef>
#include <memory>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

struct Fixture {
    std::unique_ptr<Sound> Now = std::make_unique<Sound>();
    std::unique_ptr<Snapshot> Then = std::make_unique<Snapshot>();
    Fixture() {
        NewSound(*Now);
        Now->Count = 6;
        TakeSnapshot(*Then, *Now, 0, 0);
    }
};

// Byte offset of a field in the stored table.
std::size_t Offset(const void* field, const Sound& sound) {
    return static_cast<std::size_t>(static_cast<const unsigned char*>(field) -
                                    reinterpret_cast<const unsigned char*>(&sound.Oscillators[0]));
}

TEST(FindChange, anUnchangedSoundIsNoChange) {
    Fixture f;
    EXPECT_FALSE(FindChange(*f.Now, *f.Then).Changed);
}

TEST(FindChange, oneRangeSpansTheFirstToTheLastChangedByte) {
    Fixture f;
    f.Now->Oscillators[0].EndF = 100;
    f.Now->Oscillators[5].StartA = 0.5;
    const TableChange change = FindChange(*f.Now, *f.Then);
    ASSERT_TRUE(change.Changed);
    EXPECT_GE(change.First, Offset(&f.Now->Oscillators[0].EndF, *f.Now));
    EXPECT_LT(change.First, Offset(&f.Now->Oscillators[0].EndF, *f.Now) + sizeof(double));
    EXPECT_LE(change.End, Offset(&f.Now->Oscillators[5].StartA, *f.Now) + sizeof(double));
    EXPECT_GT(change.End, Offset(&f.Now->Oscillators[5].StartA, *f.Now));
}

TEST(FindChange, countOrRateAloneIsAChangeWithoutBytes) {
    for (const bool countChanges : {true, false}) {
        Fixture f;
        if (countChanges) {
            f.Now->Count = 5; // deleting the last oscillator moves no bytes
        } else {
            f.Now->SampleFrequency = 44100;
        }
        const TableChange change = FindChange(*f.Now, *f.Then);
        EXPECT_TRUE(change.Changed);
        EXPECT_EQ(change.First, change.End);
    }
}

TEST(FindChange, slotsBeyondCountTakePart) {
    Fixture f;
    f.Now->Oscillators[127].Comment[0] = 'x';
    EXPECT_TRUE(FindChange(*f.Now, *f.Then).Changed);
}

} // namespace
} // namespace kettrik

namespace kettrik {
namespace {

TEST(FindChange, oneChangedByteAnywhereIsFoundExactly) {
    constexpr std::size_t size = sizeof(OscillatorTable);
    for (const std::size_t offset : {std::size_t{0}, std::size_t{255}, std::size_t{256}, size / 2,
                                     size - 257, size - 256, size - 1}) {
        auto now = std::make_unique<Sound>();
        auto then = std::make_unique<Snapshot>();
        NewSound(*now);
        TakeSnapshot(*then, *now, 0, 0);
        reinterpret_cast<unsigned char*>(now->Oscillators.data())[offset] ^= 0x5A;
        const TableChange change = FindChange(*now, *then);
        ASSERT_TRUE(change.Changed) << offset;
        EXPECT_EQ(change.First, offset);
        EXPECT_EQ(change.End, offset + 1);
    }
}

} // namespace
} // namespace kettrik
