#include "model/sound.h"

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

std::unique_ptr<Sound> SoundOf(int count) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->Count = count;
    for (int i = 0; i < count; ++i) {
        sound->Oscillators[i].Enabled = On;
    }
    return sound;
}

TEST(NewSound, isOneOnSineFalling2000HzOver200ms) {
    const auto sound = SoundOf(1);
    EXPECT_EQ(sound->SampleFrequency, 22050);
    const Oscillator& o = sound->Oscillators[0];
    EXPECT_EQ(o.Enabled, On);
    EXPECT_EQ(o.WaveForm, Sine);
    EXPECT_EQ(o.StartF, 2000);
    EXPECT_EQ(o.EndF, 0);
    EXPECT_EQ(o.StartA, 0.95);
    EXPECT_EQ(o.EndT, 200);
    EXPECT_EQ(o.CurveShape0, 0.1);
    EXPECT_EQ(o.CurveShape1, 8);
    EXPECT_EQ(o.CurveShape2, 1);
    EXPECT_EQ(o.FMModBy, NoOscillator);
    EXPECT_EQ(o.AMModBy, NoOscillator);
    Oscillator inserted;
    NewOscillator(inserted);
    EXPECT_EQ(inserted.Enabled, Off); // an inserted oscillator is silent until switched on
}

TEST(SetText, cutsToFitAndClearsWhatALongerTextLeftBehind) {
    Oscillator a, b;
    NewOscillator(a);
    NewOscillator(b);
    SetText(a.Comment, std::string(400, 'x'));
    EXPECT_EQ(GetText(a.Comment).size(), static_cast<std::size_t>(TextCapacity - 1));
    SetText(a.Comment, "kick");
    SetText(b.Comment, "kick");
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(LinkOscillators, joinsNeighboursWhoseEnvelopesMeet) {
    struct Case {
        const char* What;
        double EndF, NextStartF, EndA, NextStartA;
        std::int32_t NextEnabled;
        std::int32_t NextFilter;
        double NextStartT;
        bool Linked;
    } cases[] = {
        {"frequencies 0.9 apart", 440, 440.9, 0.5, 0.5, On, 0, 100, true},
        {"frequencies 1 apart", 440, 441, 0.5, 0.5, On, 0, 100, false},
        {"amplitudes 0.09 apart", 440, 440, 0.5, 0.59, On, 0, 100, true},
        {"amplitudes 0.1 apart", 440, 440, 0.5, 0.6, On, 0, 100, false},
        {"On next to Inaudible", 440, 440, 0.5, 0.5, Inaudible, 0, 100, false},
        {"oscillator next to filter", 440, 440, 0.5, 0.5, On, 1, 100, false},
        {"times must meet exactly", 440, 440, 0.5, 0.5, On, 0, 100.0001, false},
    };
    for (const Case& c : cases) {
        auto sound = SoundOf(3);
        Oscillator& a = sound->Oscillators[0];
        Oscillator& b = sound->Oscillators[1];
        a.EndT = 100;
        a.EndF = c.EndF;
        a.EndA = c.EndA;
        b.StartT = c.NextStartT;
        b.StartF = c.NextStartF;
        b.StartA = c.NextStartA;
        b.Enabled = c.NextEnabled;
        b.Filter = c.NextFilter;
        LinkOscillators(sound->Oscillators, sound->Count);
        EXPECT_EQ(a.NextLinked, c.Linked ? 1 : NoOscillator) << c.What;
        EXPECT_EQ(b.PrevLinked, c.Linked ? 0 : NoOscillator) << c.What;
        EXPECT_EQ(a.PrevLinked, NoOscillator) << c.What;
    }
}

TEST(LinkOscillators, neverTouchesSlotsBeyondTheTable) {
    auto sound = SoundOf(1);
    LinkOscillators(sound->Oscillators, 500); // limited to the 128 slots
    LinkOscillators(sound->Oscillators, -3);
    sound->Oscillators[1].NextLinked = 77; // a leftover beyond Count stays as it is
    LinkOscillators(sound->Oscillators, 1);
    EXPECT_EQ(sound->Oscillators[0].NextLinked, NoOscillator);
    EXPECT_EQ(sound->Oscillators[1].NextLinked, 77);
}

TEST(SetSolo, keepsTheSelectedOscillatorAndItsInputsForAFilter) {
    struct Case {
        const char* What;
        bool SelectedIsFilter;
        std::int32_t Expected[4];
    } cases[] = {
        {"an oscillator silences every other On one", false, {Off, Inaudible, On, Off}},
        {"a filter keeps the oscillators below it", true, {On, Inaudible, On, Off}},
    };
    for (const Case& c : cases) {
        auto sound = SoundOf(4);
        sound->Oscillators[1].Enabled = Inaudible;
        sound->Oscillators[2].Filter = c.SelectedIsFilter ? 1 : 0;
        SetSolo(*sound, 2, true);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(sound->Oscillators[i].Enabled, c.Expected[i]) << c.What << ", " << i;
        }
        SetSolo(*sound, 2, false);
        const std::int32_t before[] = {On, Inaudible, On, On};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(sound->Oscillators[i].Enabled, before[i]) << c.What << ", restored " << i;
        }
    }
}

} // namespace
} // namespace kettrik
