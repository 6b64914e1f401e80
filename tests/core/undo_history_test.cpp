#include "model/undo_history.h"

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

struct Fixture {
    std::unique_ptr<Sound> Now = std::make_unique<Sound>();
    std::unique_ptr<Snapshot> Then = std::make_unique<Snapshot>();
    std::unique_ptr<Sound> Original = std::make_unique<Sound>();
    UndoHistory History;
    Fixture() {
        NewSound(*Now);
        Now->Count = 6;
        TakeSnapshot(*Then, *Now, 0, 0);
        *Original = *Now;
    }
    bool SameAsOriginal() const {
        return std::memcmp(Now.get(), Original.get(), sizeof(Sound)) == 0;
    }
};

TEST(CommitTable, twoFarApartEditsAreOneStepThatUndoesBoth) {
    Fixture f;
    f.Now->Oscillators[0].EndF = 100;
    f.Now->Oscillators[5].StartA = 0.5;
    ASSERT_EQ(CommitTable(*f.Now, *f.Then, f.History, 5, 1), CommitOutcome::Recorded);
    ASSERT_EQ(f.History.Size(), 1u);
    const UndoStep& step = *f.History.Newest();
    EXPECT_EQ(step.SelectedOscillator, 0); // the selections of the snapshot before the edit
    EXPECT_EQ(step.SelectedPage, 0);
    EXPECT_GT(step.Bytes.size(), 4 * sizeof(Oscillator));
    EXPECT_EQ(CommitTable(*f.Now, *f.Then, f.History, 5, 1), CommitOutcome::NoChange);

    ApplyUndoStep(*f.Now, step);
    EXPECT_TRUE(f.SameAsOriginal());
}

TEST(CommitTable, countOrSampleFrequencyAloneIsAStepWithoutBytes) {
    for (const bool countOnly : {true, false}) {
        Fixture f;
        if (countOnly) {
            f.Now->Count = 5; // deleting the last oscillator moves no bytes
        } else {
            f.Now->SampleFrequency = 44100;
        }
        ASSERT_EQ(CommitTable(*f.Now, *f.Then, f.History, 0, 0), CommitOutcome::Recorded);
        EXPECT_TRUE(f.History.Newest()->Bytes.empty());
        ApplyUndoStep(*f.Now, *f.History.Newest());
        EXPECT_TRUE(f.SameAsOriginal()) << countOnly;
    }
}

TEST(CommitTable, aOneFieldEditCostsOnlyItsBytes) {
    Fixture f;
    f.Now->Oscillators[3].EndT = 123.5;
    ASSERT_EQ(CommitTable(*f.Now, *f.Then, f.History, 3, 0), CommitOutcome::Recorded);
    EXPECT_LE(f.History.Newest()->Bytes.size(), sizeof(double));
}

TEST(UndoHistory, stepsComeBackNewestFirstAndClearEmptiesIt) {
    Fixture f;
    for (int i = 1; i <= 3; ++i) {
        f.Now->Oscillators[1].EndT = 1000.0 * i;
        ASSERT_EQ(CommitTable(*f.Now, *f.Then, f.History, i, 0), CommitOutcome::Recorded);
    }
    ASSERT_EQ(f.History.Size(), 3u);
    for (int i = 2; i >= 0; --i) {
        ApplyUndoStep(*f.Now, *f.History.Newest());
        EXPECT_EQ(f.History.Newest()->SelectedOscillator, i);
        f.History.DropNewest();
        EXPECT_EQ(f.Now->Oscillators[1].EndT,
                  i == 0 ? f.Original->Oscillators[1].EndT : 1000.0 * i);
    }
    EXPECT_TRUE(f.History.Empty());
    f.History.DropNewest(); // nothing to drop: no harm
    EXPECT_EQ(f.History.Newest(), nullptr);
    f.Now->Count = 2;
    ASSERT_EQ(CommitTable(*f.Now, *f.Then, f.History, 0, 0), CommitOutcome::Recorded);
    f.History.Clear();
    EXPECT_TRUE(f.History.Empty());
}

TEST(ApplyUndoStep, aRangeOutsideTheTableWritesNothing) {
    Fixture f;
    for (const std::size_t offset :
         {sizeof(OscillatorTable) - 2, sizeof(OscillatorTable) + 1, std::size_t(-1)}) {
        const UndoStep step{0, 0, std::vector<unsigned char>(4, 0xAB), offset, 22050, 6};
        ApplyUndoStep(*f.Now, step);
        EXPECT_TRUE(f.SameAsOriginal()) << offset;
    }
}

} // namespace
} // namespace kettrik
