// The user's settings: named sections of string values in an INI file of the program's own,
// $XDG_CONFIG_HOME/kettrik-orvalene/kettrik-orvalene.ini (~/.config/... by default).
// Handed to whoever needs it; never a global.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kettrik {

class SettingsStore {
public:
    // The store at the standard place for this user.
    SettingsStore();
    // A store in a file of the caller's choosing (tests).
    explicit SettingsStore(std::string path);

    std::int32_t GetInt(std::string_view section, std::string_view key,
                        std::int32_t defaultValue) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // Creates the folder and file as needed; false when it could not be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInt(std::string_view section, std::string_view key, std::int32_t value);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Every section and key the program stores, in one place.
namespace settings {
inline constexpr std::string_view Kettrik = "Kettrik";
inline constexpr std::string_view FileDialog = "KettrikFileDialog";

inline constexpr std::string_view ShowNotes = "ShowNotes";
inline constexpr std::string_view SnapToNotes = "SnapToNotes";
inline constexpr std::string_view ShowTime = "ShowTime";
inline constexpr std::string_view SnapToTime = "SnapToTime";
inline constexpr std::string_view NewsAuto = "NewsAuto";
inline constexpr std::string_view NewsFrequency = "NewsFrequency";
inline constexpr std::string_view NewsConnection = "NewsConnection";
inline constexpr std::string_view LastNewsDate = "LastNewsDate";
inline constexpr std::string_view NewsUrl = "NewsUrl";
inline constexpr std::string_view AutoPlay = "AutoPlay";
} // namespace settings

// $XDG_CONFIG_HOME, or ~/.config; empty when there is no home folder to put it in.
std::string ConfigHome();
// $XDG_DATA_HOME, or ~/.local/share; empty likewise.
std::string DataHome();

} // namespace kettrik
