#include "integration/tuareg_registration.h"

#include <filesystem>

#include "model/atomic_file.h"
#include "model/profile_file.h"
#include "news/web_addresses.h"
#include "platform/executable_path.h"
#include "platform/settings_store.h"

namespace kettrik {

namespace {

// Tuareg's keys are read into 256-byte buffers.
constexpr std::size_t TuaregValueChars = 255;

bool Absent(const std::string& value) {
    return !value.empty() && value.front() == '-';
}

} // namespace

TuaregPaths DefaultTuaregPaths() {
    return {ConfigHome() + "/tuareg.ini", ExecutablePath()};
}

std::string TuaregDescriptor(int kind, const std::string& description,
                             const std::string& executable) {
    return std::string("[plugin]\r\n") + "name=Kettrik Orvalene Plugin\r\n" +
           "kind=" + std::to_string(kind) + "\r\n" + "description=" + description + "\r\n" +
           "executable=" + executable + " -tu\r\n" + "extension=.ktu\r\n" +
           "author=" + web::MakerName + " - " + web::MakerSite + "\r\n" +
           "copyright=" + web::CopyrightNotice + "\r\n";
}

TuaregOutcome RegisterTuaregPlugin(bool force, const TuaregPaths& paths) {
    ProfileDocument config;
    ReadProfileFile(paths.ConfigFile, config);
    if (Absent(GetProfileString(config, "General", "Version", "-", TuaregValueChars))) {
        return TuaregNotInstalled;
    }
    const std::string pluginFolder =
        GetProfileString(config, "Paths", "PluginPath", "-", TuaregValueChars);
    if (Absent(pluginFolder)) {
        return TuaregWithoutPlugins;
    }
    // The folder is used as Tuareg wrote it; the file names are joined with the path
    // separator of this system.
    const std::string importPath = pluginFolder + "/kettrin.ini";
    std::error_code error;
    if (!force && std::filesystem::exists(importPath, error)) {
        return AlreadyRegistered;
    }
    if (!WriteFileAtomically(importPath,
                             TuaregDescriptor(0, "Kettrik sound IMPORT", paths.Executable))) {
        return RegistrationFailed;
    }
    if (!WriteFileAtomically(pluginFolder + "/kettred.ini",
                             TuaregDescriptor(5, "Kettrik sound EDIT", paths.Executable))) {
        return RegistrationFailed;
    }
    return Registered;
}

} // namespace kettrik
