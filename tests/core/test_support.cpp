#include "core/test_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace kettrik::test {

TempDir::TempDir() {
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("kettrik-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Le16(std::uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string Le32(std::uint32_t v) {
    return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}

std::string MakeWav(const WavLayout& layout) {
    const std::uint16_t blockAlign =
        static_cast<std::uint16_t>(layout.Channels * ((layout.Bits + 7) / 8));
    std::string fmt = Le16(layout.Format) + Le16(layout.Channels) + Le32(layout.SampleRate) +
                      Le32(layout.SampleRate * blockAlign) + Le16(blockAlign) + Le16(layout.Bits);
    fmt += std::string(layout.FmtExtraBytes, '\0');
    const std::uint32_t dataSize = layout.DataSizeOverride >= 0
                                       ? static_cast<std::uint32_t>(layout.DataSizeOverride)
                                       : static_cast<std::uint32_t>(layout.Data.size());
    std::string body = "WAVE" + layout.ExtraChunkBeforeFmt + "fmt " +
                       Le32(static_cast<std::uint32_t>(fmt.size())) + fmt +
                       layout.ExtraChunkBeforeData + "data" + Le32(dataSize) + layout.Data;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

} // namespace kettrik::test
