#include "platform/executable_path.h"

#include <filesystem>

namespace kettrik {

std::string ExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

} // namespace kettrik
