// INI-style "profile" files: named sections of key=value lines.
//
// Sections and keys match without regard to ASCII letter case; a value is the text after the
// first '=' of its line with blanks trimmed and one pair of enclosing quotes removed; lines
// without '=' are not keys; when a key repeats in a section the first one counts. Writing
// replaces a value in place, appends a missing key at the end of its section and a missing
// section at the end of the file, and never drops anything else. Lines end with CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kettrik {

// A whole profile file held in memory, line by line, so that many updates can be applied
// and the file written once.
//
// A section header is a line whose first non-blank character is '[' and which has a ']';
// the name is what lies between the '[' and the last ']'. Any other line (a '[' without ']'
// included) is an ordinary line. Lines before the first header are kept but belong to no
// section. Lines are split at LF; one CR before it is dropped. A leading UTF-8 byte order
// mark (repeated or not) is dropped. Blanks are space, tab, CR, VT and FF.
struct ProfileDocument {
    struct Section {
        std::string Name;               // as written between the brackets, trimmed
        std::vector<std::string> Lines; // the lines after the header, up to the next section
    };
    std::vector<std::string> Preamble; // lines before the first section
    std::vector<Section> Sections;
};

// Files larger than this are not profile files; reading one gives an empty document and
// writing over one is refused.
inline constexpr std::uintmax_t MaxProfileFileBytes = 16u * 1024u * 1024u;

ProfileDocument ParseProfileText(std::string_view text);
// Every line followed by CR LF; a header is written as "[Name]".
std::string FormatProfileText(const ProfileDocument& document);

enum class ProfileReadResult { Read, Missing, Unreadable };
// Missing: no such file (an empty document). Unreadable: it exists but could not be read,
// or is too large (an empty document, and a writer must not replace the file).
ProfileReadResult ReadProfileFile(const std::string& path, ProfileDocument& document);
// Writes the whole document atomically; false when the file could not be written.
bool WriteProfileFile(const std::string& path, const ProfileDocument& document);

// The value of a key, unlimited in length, or nothing when the section or key is missing.
std::optional<std::string> FindProfileValue(const ProfileDocument& document,
                                            std::string_view section, std::string_view key);
// A CR or LF in the section, key or value is written as a blank, so a value can never
// start a line of its own. Keys must not contain '='.
void SetProfileValue(ProfileDocument& document, std::string_view section, std::string_view key,
                     std::string_view value);
// Removes the key (its first occurrence) from the section, if there.
void RemoveProfileValue(ProfileDocument& document, std::string_view section, std::string_view key);

// The same rules within one section, for code that has found the section already.
std::optional<std::string> FindSectionValue(const ProfileDocument::Section& section,
                                            std::string_view key);
void SetSectionValue(ProfileDocument::Section& section, std::string_view key,
                     std::string_view value);
void RemoveSectionValue(ProfileDocument::Section& section, std::string_view key);

// Finds sections by name without scanning the whole document, for code that reads or
// writes many keys. Stays valid while sections are added only through Ensure.
class ProfileSectionIndex {
public:
    explicit ProfileSectionIndex(const ProfileDocument& document);
    // The first section of that name (ASCII case ignored), or null.
    const ProfileDocument::Section* Find(const ProfileDocument& document,
                                         std::string_view name) const;
    // The first section of that name, appended at the end of the document when missing.
    ProfileDocument::Section& Ensure(ProfileDocument& document, std::string_view name);

private:
    std::unordered_map<std::string, std::size_t> positions_; // lower-case name -> position
};

// A value as the readers see it: blanks trimmed, one pair of enclosing quotes removed.
std::string_view UnquoteProfileValue(std::string_view value);

// The value of a key cut to at most maxChars characters, or the default (also cut) when
// the key is missing.
std::string GetProfileString(const ProfileDocument& document, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t maxChars);
// The key's value read as an integer (ParseInt), or the default when the key is missing.
std::int32_t GetProfileInt(const ProfileDocument& document, std::string_view section,
                           std::string_view key, std::int32_t defaultValue);

// The same operations on a file path, each reading (and writing) the file once.
std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t maxChars);
std::int32_t GetProfileInt(const std::string& path, std::string_view section, std::string_view key,
                           std::int32_t defaultValue);
// False when the file could not be read back first or could not be written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

} // namespace kettrik
