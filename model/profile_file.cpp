#include "model/profile_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "model/atomic_file.h"
#include "model/number_text.h"

namespace kettrik {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string LowerKey(std::string_view name) {
    std::string lower(Trim(name));
    for (char& c : lower) {
        c = LowerAscii(c);
    }
    return lower;
}

// A line break inside a written name or value would start a line of its own.
std::string WithoutLineBreaks(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return result;
}

// The section name of a header line, or nothing when the line is not a header.
std::optional<std::string_view> HeaderName(std::string_view line) {
    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos == line.size() || line[pos] != '[') {
        return std::nullopt;
    }
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close < pos) {
        return std::nullopt;
    }
    return Trim(line.substr(pos + 1, close - pos - 1));
}

// Position of the line holding the key, or npos.
std::size_t FindKeyLine(const ProfileDocument::Section& section, std::string_view key) {
    const std::string_view wanted = Trim(key);
    for (std::size_t i = 0; i < section.Lines.size(); ++i) {
        const std::string_view line = section.Lines[i];
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos &&
            EqualIgnoringCase(Trim(line.substr(0, equals)), wanted)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Position of the first section of that name, or npos.
std::size_t FindSection(const ProfileDocument& document, std::string_view name) {
    const std::string_view wanted = Trim(name);
    for (std::size_t i = 0; i < document.Sections.size(); ++i) {
        if (EqualIgnoringCase(document.Sections[i].Name, wanted)) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string CutToChars(std::string_view text, std::size_t maxChars) {
    return std::string(text.substr(0, std::min(text.size(), maxChars)));
}

} // namespace

std::string_view UnquoteProfileValue(std::string_view value) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') &&
        trimmed.back() == trimmed.front()) {
        return trimmed.substr(1, trimmed.size() - 2);
    }
    return trimmed;
}

ProfileDocument ParseProfileText(std::string_view text) {
    ProfileDocument document;
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    // All of them, so that the first line written can never start with one that a second
    // reading would drop.
    while (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }
    std::vector<std::string>* lines = &document.Preamble;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos = next;
        if (const auto name = HeaderName(line)) {
            document.Sections.push_back({std::string(*name), {}});
            lines = &document.Sections.back().Lines;
        } else {
            lines->emplace_back(line);
        }
    }
    return document;
}

std::string FormatProfileText(const ProfileDocument& document) {
    std::size_t size = 0;
    for (const std::string& line : document.Preamble) {
        size += line.size() + 2;
    }
    for (const ProfileDocument::Section& section : document.Sections) {
        size += section.Name.size() + 4;
        for (const std::string& line : section.Lines) {
            size += line.size() + 2;
        }
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : document.Preamble) {
        text += line;
        text += "\r\n";
    }
    for (const ProfileDocument::Section& section : document.Sections) {
        text += '[';
        text += section.Name;
        text += "]\r\n";
        for (const std::string& line : section.Lines) {
            text += line;
            text += "\r\n";
        }
    }
    return text;
}

ProfileReadResult ReadProfileFile(const std::string& path, ProfileDocument& document) {
    document = ProfileDocument{};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return ProfileReadResult::Missing;
    }
    if (error || status.type() == std::filesystem::file_type::directory) {
        return ProfileReadResult::Unreadable;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return ProfileReadResult::Unreadable;
    }
    // The size is not trusted (a file may grow, or report none): reading stops one byte past
    // the limit.
    std::string text;
    char buffer[65536];
    bool failed = false;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        text.append(buffer, got);
        if (text.size() > MaxProfileFileBytes) {
            failed = true;
            break;
        }
        if (got < sizeof buffer) {
            failed = std::ferror(file) != 0;
            break;
        }
    }
    std::fclose(file);
    if (failed) {
        return ProfileReadResult::Unreadable;
    }
    document = ParseProfileText(text);
    return ProfileReadResult::Read;
}

bool WriteProfileFile(const std::string& path, const ProfileDocument& document) {
    return WriteFileAtomically(path, FormatProfileText(document));
}

std::optional<std::string> FindSectionValue(const ProfileDocument::Section& section,
                                            std::string_view key) {
    const std::size_t line = FindKeyLine(section, key);
    if (line == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view text = section.Lines[line];
    return std::string(UnquoteProfileValue(text.substr(text.find('=') + 1)));
}

void SetSectionValue(ProfileDocument::Section& section, std::string_view key,
                     std::string_view value) {
    std::string line = WithoutLineBreaks(Trim(key));
    line += '=';
    line += WithoutLineBreaks(value);
    const std::size_t existing = FindKeyLine(section, key);
    if (existing != std::string_view::npos) {
        section.Lines[existing] = std::move(line);
        return;
    }
    std::size_t insertAt = section.Lines.size();
    while (insertAt > 0 && Trim(section.Lines[insertAt - 1]).empty()) {
        --insertAt;
    }
    section.Lines.insert(section.Lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                         std::move(line));
}

void RemoveSectionValue(ProfileDocument::Section& section, std::string_view key) {
    const std::size_t existing = FindKeyLine(section, key);
    if (existing != std::string_view::npos) {
        section.Lines.erase(section.Lines.begin() + static_cast<std::ptrdiff_t>(existing));
    }
}

ProfileSectionIndex::ProfileSectionIndex(const ProfileDocument& document) {
    positions_.reserve(document.Sections.size());
    for (std::size_t i = 0; i < document.Sections.size(); ++i) {
        positions_.try_emplace(LowerKey(document.Sections[i].Name), i);
    }
}

const ProfileDocument::Section* ProfileSectionIndex::Find(const ProfileDocument& document,
                                                          std::string_view name) const {
    const auto found = positions_.find(LowerKey(name));
    if (found == positions_.end() || found->second >= document.Sections.size()) {
        return nullptr;
    }
    return &document.Sections[found->second];
}

ProfileDocument::Section& ProfileSectionIndex::Ensure(ProfileDocument& document,
                                                      std::string_view name) {
    const auto [found, added] = positions_.try_emplace(LowerKey(name), document.Sections.size());
    if (added) {
        document.Sections.push_back({WithoutLineBreaks(Trim(name)), {}});
    }
    return document.Sections[found->second];
}

std::optional<std::string> FindProfileValue(const ProfileDocument& document,
                                            std::string_view section, std::string_view key) {
    const std::size_t found = FindSection(document, section);
    if (found == std::string_view::npos) {
        return std::nullopt;
    }
    return FindSectionValue(document.Sections[found], key);
}

void SetProfileValue(ProfileDocument& document, std::string_view section, std::string_view key,
                     std::string_view value) {
    // Only one key is written, so a scan is as fast as building an index.
    if (const std::size_t found = FindSection(document, section); found != std::string_view::npos) {
        SetSectionValue(document.Sections[found], key, value);
        return;
    }
    document.Sections.push_back({WithoutLineBreaks(Trim(section)), {}});
    SetSectionValue(document.Sections.back(), key, value);
}

void RemoveProfileValue(ProfileDocument& document, std::string_view section, std::string_view key) {
    if (const std::size_t found = FindSection(document, section); found != std::string_view::npos) {
        RemoveSectionValue(document.Sections[found], key);
    }
}

std::string GetProfileString(const ProfileDocument& document, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t maxChars) {
    const std::optional<std::string> value = FindProfileValue(document, section, key);
    return CutToChars(value ? std::string_view(*value) : defaultValue, maxChars);
}

std::int32_t GetProfileInt(const ProfileDocument& document, std::string_view section,
                           std::string_view key, std::int32_t defaultValue) {
    const std::optional<std::string> value = FindProfileValue(document, section, key);
    return value ? ParseInt(*value) : defaultValue;
}

std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t maxChars) {
    ProfileDocument document;
    ReadProfileFile(path, document);
    return GetProfileString(document, section, key, defaultValue, maxChars);
}

std::int32_t GetProfileInt(const std::string& path, std::string_view section, std::string_view key,
                           std::int32_t defaultValue) {
    ProfileDocument document;
    ReadProfileFile(path, document);
    return GetProfileInt(document, section, key, defaultValue);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    ProfileDocument document;
    if (ReadProfileFile(path, document) == ProfileReadResult::Unreadable) {
        return false;
    }
    SetProfileValue(document, section, key, value);
    return WriteProfileFile(path, document);
}

} // namespace kettrik
