#include "platform/settings_store.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "model/number_text.h"
#include "model/profile_file.h"

namespace kettrik {

namespace {

// Settings values are read whole; this bounds what one value can bring in.
constexpr std::size_t MaxSettingChars = 4096;

// HOME, or when a session has none (started by a service, say) the account's own folder;
// empty when neither is known.
std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return home;
    }
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

// An absolute folder from the environment, else the given folder under the home folder;
// empty when there is no home folder either.
std::string FromEnvironmentOr(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value == '/') {
        return value;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + underHome;
}

} // namespace

std::string ConfigHome() {
    return FromEnvironmentOr("XDG_CONFIG_HOME", "/.config");
}

std::string DataHome() {
    return FromEnvironmentOr("XDG_DATA_HOME", "/.local/share");
}

SettingsStore::SettingsStore() : path_(ConfigHome() + "/kettrik-orvalene/kettrik-orvalene.ini") {}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

std::int32_t SettingsStore::GetInt(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    return GetProfileInt(path_, section, key, defaultValue);
}

std::string SettingsStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    return GetProfileString(path_, section, key, defaultValue, MaxSettingChars);
}

bool SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    return WriteProfileString(path_, section, key, value);
}

bool SettingsStore::WriteInt(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteString(section, key, FormatInt(value));
}

} // namespace kettrik
