#include "news/banner_commands.h"

#include <algorithm>

#include "news/web_addresses.h"
#include "platform/settings_store.h"

namespace kettrik {

namespace {

constexpr std::size_t MaxNewsUrlChars = 126;
// What the settings store reads back of one value.
constexpr std::size_t MaxSettingValueChars = 4096;

bool HasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool SafeKey(std::string_view key) {
    return !key.empty() && key.front() != ' ' && key.back() != ' ' &&
           key.find_first_of("=[]") == std::string_view::npos && !HasControlCharacters(key);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool HandleBannerCommand(SettingsStore& settings, std::string_view command,
                         std::string_view arguments) {
    if (!StartsWith(command, "Set")) {
        return false;
    }
    const std::string_view key = command.substr(3);
    if (!SafeKey(key) || HasControlCharacters(arguments) ||
        arguments.size() > MaxSettingValueChars) {
        return false;
    }
    return settings.WriteString(settings::Kettrik, key, arguments);
}

std::string NewsAddress(const SettingsStore& settings) {
    std::string address =
        settings.GetString(settings::Kettrik, settings::NewsUrl, web::DefaultNewsUrl);
    address.resize(std::min(address.size(), MaxNewsUrlChars));
    std::string scheme = address.substr(0, 8);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const bool web = StartsWith(scheme, "http://") || StartsWith(scheme, "https://");
    return web ? address : std::string();
}

} // namespace kettrik
