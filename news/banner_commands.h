// What the banner's movies may do to the program: the command "Set" followed by a key name
// writes that key of section Kettrik. Movies come from the network, so a command that could
// damage the settings file is refused.
#pragma once

#include <string>
#include <string_view>

namespace kettrik {

class SettingsStore;

// Writes the setting for a "Set<Key>" command (exact case); every other command, and a "Set"
// whose key or value holds line breaks or other control characters, "=", "[" or "]", blanks
// around the key, an empty key, or a value longer than the settings store takes, writes
// nothing. True when a setting was written.
bool HandleBannerCommand(SettingsStore& settings, std::string_view command,
                         std::string_view arguments);

// The news movie's address: NewsUrl (default: the news server), at most 126 characters; empty
// when it is not an http or https address, so nothing else is ever loaded.
std::string NewsAddress(const SettingsStore& settings);

} // namespace kettrik
