// The desktop's file associations, in the user's data folder ($XDG_DATA_HOME): a
// shared-mime-info type with case-insensitive globs, a desktop entry that opens files of that
// type with a program, and the type's default application. Used by the program at every
// start and by the separate registrar program.
#pragma once

#include <string>
#include <vector>

namespace kettrik {

struct FileTypeRegistration {
    std::string MimeType;                // e.g. "application/x-kettrik-sound"
    std::string Description;             // e.g. "Kettrik Orvalene 5.0 file"
    std::vector<std::string> Extensions; // with the dot, any case: ".KTU"
    std::string DesktopFileName;         // e.g. "example.kettrik.Orvalene.desktop"
    std::string ApplicationName;         // Name= of the desktop entry
    std::string Executable;              // absolute path of the program to start
    std::string Icon;                    // Icon= value, may be empty
};

// Writes the MIME type and desktop entry when they differ from what is there, and makes the
// program the type's default only when the type has no default yet or already this program.
// Runs update-mime-database and update-desktop-database when present. Silent; returns false
// when something could not be written.
bool RegisterFileType(const FileTypeRegistration& registration);

} // namespace kettrik
