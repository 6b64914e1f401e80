// LoadSound over any bytes, then SaveSound and LoadSound again: the sound is always usable,
// and what was saved reads back (texts and integers exactly, reals to six decimals).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "model/sound_file.h"

namespace {

using kettrik::Oscillator;
using kettrik::Sound;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Fixed for the process, distinct between processes fuzzing side by side.
const std::string& TempPath(const char* suffix) {
    static const std::string base =
        (std::filesystem::temp_directory_path() /
         ("kettrik-load-sound-fuzz-" + std::to_string(std::random_device{}())))
            .string();
    static const std::string input = base + "-in.ktu";
    static const std::string output = base + "-out.ktu";
    static const bool cleanupRegistered = [] {
        return std::atexit([] {
                   std::error_code ignored;
                   std::filesystem::remove(input, ignored);
                   std::filesystem::remove(output, ignored);
               }) == 0;
    }();
    (void)cleanupRegistered;
    return suffix[0] == 'i' ? input : output;
}

void CheckReal(double loaded, double reloaded) {
    Check(std::isfinite(loaded) && std::isfinite(reloaded));
    // Beyond this the written text is longer than the 62 characters a reader takes.
    if (std::fabs(loaded) < 1e50) {
        Check(std::fabs(loaded - reloaded) <= 5.000001e-7 + std::fabs(loaded) * 1e-15);
    }
}

void CheckSameOscillator(const Oscillator& a, const Oscillator& b) {
    Check(kettrik::GetText(a.WavFile) == kettrik::GetText(b.WavFile));
    Check(kettrik::GetText(a.Comment) == kettrik::GetText(b.Comment));
    Check(a.Enabled >= 0 && a.Enabled == b.Enabled);
    Check(a.Filter == b.Filter && a.WaveForm == b.WaveForm && a.LoopWav == b.LoopWav);
    Check(a.AMModBy == b.AMModBy && a.FMModBy == b.FMModBy);
    Check(a.NoiseChangeRate == b.NoiseChangeRate);
    for (const auto field :
         {&Oscillator::StartF, &Oscillator::EndF, &Oscillator::StartA, &Oscillator::EndA,
          &Oscillator::StartT, &Oscillator::EndT, &Oscillator::AMModFac, &Oscillator::FMModFac,
          &Oscillator::CurveShape0, &Oscillator::CurveShape1, &Oscillator::CurveShape2,
          &Oscillator::NoiseBW}) {
        CheckReal(a.*field, b.*field);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& input = TempPath("in");
    const std::string& output = TempPath("out");
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) {
        return 0;
    }

    auto loaded = std::make_unique<Sound>();
    kettrik::LoadSound(input, *loaded);
    Check(loaded->Count >= 1 && loaded->Count <= kettrik::MaxOscillators);

    std::error_code ignored;
    std::filesystem::remove(output, ignored);
    Check(kettrik::SaveSound(output, *loaded));
    auto reloaded = std::make_unique<Sound>();
    kettrik::LoadSound(output, *reloaded);
    Check(reloaded->Count == loaded->Count);
    Check(reloaded->SampleFrequency == loaded->SampleFrequency);
    for (int i = 0; i < loaded->Count; ++i) {
        CheckSameOscillator(loaded->Oscillators[i], reloaded->Oscillators[i]);
    }
    Check(kettrik::IsSoundFile(output));
    return 0;
}
