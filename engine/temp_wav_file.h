// Temporary WAV files for playback and previews. Names are eight hex digits from the noise
// generator, as the program always made them, but they live in a private folder of this
// process (mode 0700) and are created exclusively, so another instance or another user can
// never collide with them or plant a link at a predictable name.
#pragma once

#include <string>

namespace kettrik {

class TempWavFile {
public:
    TempWavFile() = default;
    TempWavFile(const TempWavFile&) = delete;
    TempWavFile& operator=(const TempWavFile&) = delete;
    ~TempWavFile(); // deletes the file held

    // Deletes the file held, then makes (and reserves) a new name with the extension,
    // ".tmp" when empty. Empty string when no private folder could be made.
    std::string NewName(const std::string& extension = std::string());
    // The name held, or a new ".wav" name.
    std::string CurrentName();
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

// The private folder of this process, made on first use; empty when it cannot be made.
std::string PrivateTempFolder();

} // namespace kettrik
