// The desktop's file associations, in the user's data folder ($XDG_DATA_HOME): a
// shared-mime-info type with case-insensitive globs, a desktop entry that opens files of that
// type with a program, and the type's default application. Used by the program at every
// start and by the separate registrar program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kettrik {

struct FileTypeRegistration {
    std::string MimeType;                // MimeTypeForClass("KettrikFile")
    std::string Description;             // e.g. "Kettrik Orvalene 5.0 file"
    std::vector<std::string> Extensions; // with the dot, any case: ".KTU"
    std::string DesktopFileName;         // e.g. "kettrik-orvalene.desktop"
    std::string ApplicationName;         // Name= of the desktop entry
    std::string Executable;              // absolute path of the program to start
    std::string Icon;                    // Icon= value, may be empty
};

// The MIME type that stands for a document class of the program:
// "application/x-" and the class name in lower case ("KettrikFile" ->
// "application/x-kettrikfile"). Characters a MIME type cannot hold become '-'.
std::string MimeTypeForClass(std::string_view className);

// Writes the MIME type and desktop entry when they differ from what is there, and makes the
// program the type's default only when the type has no default yet or already this program.
// Runs update-mime-database and update-desktop-database when present and when their caches
// are older than what was written. Silent; returns false when something could not be
// written or the registration cannot be expressed (no absolute executable, no extension).
bool RegisterFileType(const FileTypeRegistration& registration);

// The files RegisterFileType writes, for callers that want to show or remove them.
std::string MimePackagePath(const FileTypeRegistration& registration);
std::string DesktopEntryPath(const FileTypeRegistration& registration);

// The two generated texts, as they are written.
std::string MimePackageText(const FileTypeRegistration& registration);
std::string DesktopEntryText(const FileTypeRegistration& registration);

} // namespace kettrik
