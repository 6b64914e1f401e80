#include "platform/file_associations.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "model/atomic_file.h"
#include "platform/mimeapps_list.h"
#include "platform/run_program.h"
#include "platform/settings_store.h"

namespace kettrik {

namespace fs = std::filesystem;

namespace {

// Files of ours are small; a larger mimeapps.list is somebody else's problem, not ours to
// rewrite.
constexpr std::uintmax_t MaxFileBytes = 4 * 1024 * 1024;

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsMimeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$&^_.+-").find(c) != std::string_view::npos;
}

bool IsValidMimeType(std::string_view type) {
    const auto slash = type.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 == type.size()) {
        return false;
    }
    for (std::size_t i = 0; i < type.size(); ++i) {
        if (i != slash && !IsMimeChar(type[i])) {
            return false;
        }
    }
    return true;
}

// ".KTU" -> "*.ktu"; nothing for what cannot be a plain extension.
std::optional<std::string> GlobFor(std::string_view extension) {
    if (extension.size() < 2 || extension.front() != '.' || HasControl(extension) ||
        extension.find_first_of("/\\*?[]") != std::string_view::npos) {
        return std::nullopt;
    }
    std::string glob = "*";
    for (char c : extension) {
        glob += LowerAscii(c);
    }
    return glob;
}

std::vector<std::string> GlobsFor(const FileTypeRegistration& registration) {
    std::vector<std::string> globs;
    for (const std::string& extension : registration.Extensions) {
        if (auto glob = GlobFor(extension);
            glob && std::find(globs.begin(), globs.end(), *glob) == globs.end()) {
            globs.push_back(std::move(*glob));
        }
    }
    return globs;
}

bool IsExpressible(const FileTypeRegistration& registration) {
    const std::string& name = registration.DesktopFileName;
    const bool goodDesktopName = name.size() > 8 && name.ends_with(".desktop") &&
                                 name.find('/') == std::string::npos && !HasControl(name);
    return IsValidMimeType(registration.MimeType) && goodDesktopName &&
           GlobsFor(registration).size() == registration.Extensions.size() &&
           !registration.Extensions.empty() && registration.Executable.starts_with('/') &&
           !HasControl(registration.Executable) && !registration.ApplicationName.empty();
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += IsControl(c) ? ' ' : c;
        }
    }
    return out;
}

// A desktop entry "string" value: backslashes doubled, line breaks not allowed.
std::string DesktopString(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else {
            out += IsControl(c) ? ' ' : c;
        }
    }
    if (!out.empty() && out.front() == ' ') {
        out.replace(0, 1, "\\s");
    }
    return out;
}

// The executable as the first word of Exec: always in double quotes, with the characters
// that stay special inside them escaped, field codes' '%' doubled, and then the string
// value's own backslash escaping on top.
std::string ExecProgram(std::string_view path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c == '%' ? "%%" : std::string(1, c);
    }
    quoted += '"';
    return DesktopString(quoted);
}

std::optional<std::string> ReadSmallFile(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error || size > MaxFileBytes) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

enum class Outcome { Unchanged, Written, Failed };

Outcome WriteIfDifferent(const fs::path& path, const std::string& text) {
    if (ReadSmallFile(path) == text) {
        return Outcome::Unchanged;
    }
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return WriteFileAtomically(path.string(), text) ? Outcome::Written : Outcome::Failed;
}

// A cache that is missing or older than a source it is built from has to be rebuilt.
bool IsStale(const fs::path& cache, const fs::path& source) {
    std::error_code error;
    const auto cacheTime = fs::last_write_time(cache, error);
    if (error) {
        return true;
    }
    const auto sourceTime = fs::last_write_time(source, error);
    return !error && cacheTime < sourceTime;
}

// Runs a database tool; its absence is not a failure, only a failed run is.
bool RefreshCache(const char* tool, const fs::path& folder, const fs::path& cache,
                  const fs::path& source, bool written) {
    if (!written && !IsStale(cache, source)) {
        return true;
    }
    const int status = RunProgram(tool, {folder.string()});
    return status == 0 || status == -1;
}

bool SetDefaultApplication(const FileTypeRegistration& registration) {
    const fs::path path = fs::path(ConfigHome()) / "mimeapps.list";
    std::error_code error;
    std::string contents;
    if (fs::exists(path, error)) {
        auto existing = ReadSmallFile(path);
        if (!existing) {
            return false;
        }
        contents = std::move(*existing);
    }
    const auto updated =
        WithDefaultApplication(contents, registration.MimeType, registration.DesktopFileName);
    if (!updated) {
        return true; // a default is chosen already, ours or the user's
    }
    fs::create_directories(path.parent_path(), error);
    return WriteFileAtomically(path.string(), *updated);
}

} // namespace

std::string MimeTypeForClass(std::string_view className) {
    std::string type = "application/x-";
    for (char c : className) {
        type += IsMimeChar(c) ? LowerAscii(c) : '-';
    }
    return type;
}

std::string MimePackagePath(const FileTypeRegistration& registration) {
    std::string name = registration.MimeType;
    std::replace(name.begin(), name.end(), '/', '-');
    return DataHome() + "/mime/packages/" + name + ".xml";
}

std::string DesktopEntryPath(const FileTypeRegistration& registration) {
    return DataHome() + "/applications/" + registration.DesktopFileName;
}

std::string MimePackageText(const FileTypeRegistration& registration) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info "
                       "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"" + XmlEscaped(registration.MimeType) + "\">\n";
    text += "    <comment>" + XmlEscaped(registration.Description) + "</comment>\n";
    // Globs are matched without regard to case unless marked otherwise, so one lower-case
    // pattern serves "kick.ktu" and "KICK.KTU" alike.
    for (const std::string& glob : GlobsFor(registration)) {
        text += "    <glob pattern=\"" + XmlEscaped(glob) + "\"/>\n";
    }
    text += "  </mime-type>\n</mime-info>\n";
    return text;
}

std::string DesktopEntryText(const FileTypeRegistration& registration) {
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + DesktopString(registration.ApplicationName) + "\n";
    text += "Exec=" + ExecProgram(registration.Executable) + " %f\n";
    if (!registration.Icon.empty()) {
        text += "Icon=" + DesktopString(registration.Icon) + "\n";
    }
    text += "Terminal=false\nCategories=AudioVideo;Audio;\n";
    text += "MimeType=" + registration.MimeType + ";\n";
    return text;
}

bool RegisterFileType(const FileTypeRegistration& registration) {
    if (!IsExpressible(registration) || DataHome().empty() || ConfigHome().empty()) {
        return false;
    }
    const fs::path package = MimePackagePath(registration);
    const fs::path entry = DesktopEntryPath(registration);
    const Outcome packageOutcome = WriteIfDifferent(package, MimePackageText(registration));
    const Outcome entryOutcome = WriteIfDifferent(entry, DesktopEntryText(registration));
    bool ok = packageOutcome != Outcome::Failed && entryOutcome != Outcome::Failed;
    if (packageOutcome != Outcome::Failed) {
        const fs::path mime = package.parent_path().parent_path();
        ok = RefreshCache("update-mime-database", mime, mime / "mime.cache", package,
                          packageOutcome == Outcome::Written) &&
             ok;
    }
    if (entryOutcome != Outcome::Failed) {
        const fs::path applications = entry.parent_path();
        ok = RefreshCache("update-desktop-database", applications, applications / "mimeinfo.cache",
                          entry, entryOutcome == Outcome::Written) &&
             ok;
    }
    // A default that names a desktop entry which could not be written would leave the type
    // with no working program at all.
    return entryOutcome != Outcome::Failed && SetDefaultApplication(registration) && ok;
}

} // namespace kettrik
