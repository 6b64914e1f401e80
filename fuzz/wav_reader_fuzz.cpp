// Feeds arbitrary bytes to the WAV reader as a real file, then reads every frame it claims
// and a few it must refuse.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

#include "engine/wav_reader.h"
#include "model/sound.h"

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        std::random_device device;
        const auto name = "kettrik-wav-fuzz-" + std::to_string(device()) + ".wav";
        return (std::filesystem::temp_directory_path() / name).string();
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = InputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) {
        return 0;
    }

    kettrik::Oscillator oscillator;
    kettrik::NewOscillator(oscillator);
    oscillator.WaveForm = kettrik::WavFileWave;
    kettrik::SetText(oscillator.WavFile, path);
    kettrik::OpenWavSource(oscillator);

    const kettrik::WavSource& source = oscillator.Render.Source;
    const std::int64_t frames = std::min<std::int64_t>(source.FrameCount, 100000);
    for (std::int64_t j = 0; j < frames; ++j) {
        const double value = kettrik::ReadWavFrame(source, j);
        if (!(value >= -1.0 && value <= 1.0)) {
            __builtin_trap(); // every frame must read as a real from -1 to 1
        }
    }
    for (const std::int64_t j : {std::int64_t{-1}, std::int64_t{source.FrameCount},
                                 std::numeric_limits<std::int64_t>::max()}) {
        if (kettrik::ReadWavFrame(source, j) != 0.0) {
            __builtin_trap();
        }
    }
    kettrik::CloseWavSource(oscillator);
    if (oscillator.Render.Source.Cache != nullptr) {
        __builtin_trap();
    }
    return 0;
}
