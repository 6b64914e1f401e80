#include "engine/temp_wav_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "engine/render.h"

namespace kettrik {

namespace {

namespace fs = std::filesystem;

fs::path TempBase() {
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        std::error_code error;
        if (value != nullptr && *value != '\0' && fs::is_directory(value, error)) {
            return value;
        }
    }
    return "/tmp";
}

std::string Hex8(std::int32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// Removes the private folder when the process ends; only an empty folder goes.
struct PrivateFolder {
    std::string Path;
    PrivateFolder() {
        std::random_device device;
        const fs::path base = TempBase();
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[9];
            std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(device()));
            const fs::path candidate = base / (std::string("kettrik-orvalene-") + suffix);
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
                if (!error) {
                    Path = candidate.string();
                }
                return;
            }
            if (error) {
                return; // not a name clash: the base folder is unusable
            }
        }
    }
    ~PrivateFolder() {
        if (!Path.empty()) {
            std::error_code ignored;
            fs::remove(Path, ignored);
        }
    }
};

} // namespace

std::string PrivateTempFolder() {
    static const PrivateFolder folder;
    return folder.Path;
}

TempWavFile::~TempWavFile() {
    if (!name_.empty()) {
        std::remove(name_.c_str());
    }
}

std::string TempWavFile::NewName(const std::string& extension) {
    if (!name_.empty()) {
        std::remove(name_.c_str());
        name_.clear();
    }
    const std::string folder = PrivateTempFolder();
    if (folder.empty()) {
        return name_;
    }
    const std::string suffix = extension.empty() ? ".tmp" : extension;
    // The generator's 32768 names can repeat while another holder still owns one; the file
    // is reserved exclusively, and a taken name just draws the next number.
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string candidate = folder + "/" + Hex8(NoiseRandomInt()) + suffix;
        errno = 0;
        if (std::FILE* reserved = std::fopen(candidate.c_str(), "wbx")) {
            std::fclose(reserved);
            name_ = candidate;
            return name_;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return name_;
}

std::string TempWavFile::CurrentName() {
    return name_.empty() ? NewName(".wav") : name_;
}

} // namespace kettrik
