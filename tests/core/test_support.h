// Small helpers shared by the core tests: a temporary folder per test, whole-file I/O.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kettrik::test {

// A fresh folder under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A WAV file laid out by hand, so tests control every header field.
struct WavLayout {
    std::uint16_t Format = 1;
    std::uint16_t Channels = 1;
    std::uint32_t SampleRate = 22050;
    std::uint16_t Bits = 16;
    std::string ExtraChunkBeforeFmt{};  // whole chunks (id, size, body) placed before "fmt "
    std::string ExtraChunkBeforeData{}; // and between "fmt " and "data"
    std::uint32_t FmtExtraBytes = 0;    // cbSize-style bytes appended to the fmt chunk
    std::string Data{};                 // the sample bytes
    std::int64_t DataSizeOverride = -1; // header's data size when >= 0
};
std::string MakeWav(const WavLayout& layout);
std::string Le16(std::uint16_t v);
std::string Le32(std::uint32_t v);

} // namespace kettrik::test
