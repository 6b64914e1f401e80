// Registration with the outside wave editor Tuareg: two descriptor files in Tuareg's plug-in
// folder name this program, started with "-tu", as its import and edit plug-in. Everything
// comes from Tuareg's own configuration file; the files' existence is the only record.
#pragma once

#include <string>

namespace kettrik {

enum TuaregOutcome : int {
    TuaregNotInstalled = -1,
    TuaregWithoutPlugins = -3,
    AlreadyRegistered = -2,
    RegistrationFailed = 0,
    Registered = 1,
};

struct TuaregPaths {
    std::string ConfigFile; // Tuareg's "tuareg.ini"
    std::string Executable; // this program, as the descriptors should start it
};

// Where Tuareg keeps its configuration for this user ($XDG_CONFIG_HOME/tuareg.ini) and this
// program's own path.
TuaregPaths DefaultTuaregPaths();

// Writes both descriptors when Tuareg with plug-in support is installed and, unless forced,
// the import descriptor is not there yet.
TuaregOutcome RegisterTuaregPlugin(bool force, const TuaregPaths& paths);

// The eight CR LF lines of one descriptor.
std::string TuaregDescriptor(int kind, const std::string& description,
                             const std::string& executable);

} // namespace kettrik
