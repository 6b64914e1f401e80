// ParseProfileText and FormatProfileText: formatting keeps every value a reader finds, and
// a written value is found again, before and after formatting.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/profile_file.h"

namespace {

using kettrik::ProfileDocument;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Keeps only what can stand in a key or section name the writer is given.
std::string NameFrom(std::string_view text, std::string_view forbidden) {
    std::string name;
    for (const char c : text) {
        if (forbidden.find(c) == std::string_view::npos) {
            name += c;
        }
    }
    return name;
}

std::string WithoutLineBreaks(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return result;
}

void CheckSameValues(const ProfileDocument& original, const ProfileDocument& reparsed) {
    for (const ProfileDocument::Section& section : original.Sections) {
        for (const std::string& line : section.Lines) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos) {
                continue;
            }
            const std::string key = line.substr(0, equals);
            Check(kettrik::FindProfileValue(original, section.Name, key) ==
                  kettrik::FindProfileValue(reparsed, section.Name, key));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileDocument document = kettrik::ParseProfileText(text);
    const std::string formatted = kettrik::FormatProfileText(document);
    const ProfileDocument reparsed = kettrik::ParseProfileText(formatted);
    Check(reparsed.Sections.size() == document.Sections.size());
    Check(kettrik::FormatProfileText(reparsed) == formatted);
    CheckSameValues(document, reparsed);

    // A section, key and value taken from the input's first bytes, written into the document.
    const std::size_t a = size > 0 ? data[0] % 16 : 0;
    const std::size_t b = size > 1 ? data[1] % 16 : 0;
    const std::string_view rest = text.substr(std::min<std::size_t>(size, 2));
    const std::string section = NameFrom(rest.substr(0, a), "\r\n");
    const std::string key = NameFrom(rest.substr(std::min(rest.size(), a), b), "=[]\r\n");
    const std::string_view value = rest.substr(std::min(rest.size(), a + b), 64);

    ProfileDocument edited = document;
    kettrik::SetProfileValue(edited, section, key, value);
    const std::string expected(kettrik::UnquoteProfileValue(WithoutLineBreaks(value)));
    Check(kettrik::FindProfileValue(edited, section, key) == expected);
    Check(kettrik::GetProfileString(edited, section, key, "", 62) ==
          expected.substr(0, std::min<std::size_t>(expected.size(), 62)));
    const ProfileDocument editedReparsed =
        kettrik::ParseProfileText(kettrik::FormatProfileText(edited));
    Check(kettrik::FindProfileValue(editedReparsed, section, key) == expected);
    CheckSameValues(edited, editedReparsed);

    const kettrik::ProfileSectionIndex index(edited);
    const ProfileDocument::Section* found = index.Find(edited, section);
    Check(found != nullptr && kettrik::FindSectionValue(*found, key) == expected);

    kettrik::RemoveProfileValue(edited, section, key);
    return 0;
}
