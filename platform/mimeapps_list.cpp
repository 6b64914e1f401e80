#include "platform/mimeapps_list.h"

#include <vector>

namespace kettrik {

namespace {

constexpr std::string_view DefaultsGroup = "[Default Applications]";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

struct Line {
    std::string_view Text; // without its line feed
    bool IsGroup() const { return !Trim(Text).empty() && Trim(Text).front() == '['; }
};

std::vector<Line> SplitLines(std::string_view contents) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        const auto end = contents.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back({contents.substr(start)});
            break;
        }
        lines.push_back({contents.substr(start, end - start)});
        start = end + 1;
    }
    return lines;
}

// Where the value of `key = value` begins, when the line is that key.
std::optional<std::string_view> ValueOf(std::string_view line, std::string_view key) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line.substr(0, equals)) != key) {
        return std::nullopt;
    }
    return Trim(line.substr(equals + 1));
}

struct Found {
    std::optional<std::size_t> GroupLine;
    std::optional<std::size_t> KeyLine;
    std::size_t LastLineOfGroup = 0; // the last non-blank line of the group
    std::string Default;
};

Found Find(const std::vector<Line>& lines, std::string_view mimeType) {
    Found found;
    bool inGroup = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = lines[i].Text;
        if (lines[i].IsGroup()) {
            // A group that appears twice is read as one, as the desktop's own readers do.
            inGroup = Trim(text) == DefaultsGroup;
            if (inGroup) {
                if (!found.GroupLine) {
                    found.GroupLine = i;
                }
                found.LastLineOfGroup = i;
            }
            continue;
        }
        if (!inGroup) {
            continue;
        }
        if (!Trim(text).empty()) {
            found.LastLineOfGroup = i;
        }
        if (found.KeyLine) {
            continue;
        }
        if (const auto value = ValueOf(text, mimeType)) {
            found.KeyLine = i;
            found.Default = std::string(value->substr(0, value->find(';')));
        }
    }
    return found;
}

} // namespace

std::string DefaultApplication(std::string_view contents, std::string_view mimeType) {
    return Find(SplitLines(contents), mimeType).Default;
}

std::optional<std::string> WithDefaultApplication(std::string_view contents,
                                                  std::string_view mimeType,
                                                  std::string_view desktopId) {
    const std::vector<Line> lines = SplitLines(contents);
    const Found found = Find(lines, mimeType);
    if (!Trim(found.Default).empty()) {
        return std::nullopt;
    }
    const std::string entry = std::string(mimeType) + "=" + std::string(desktopId) + ";";
    std::string result;
    result.reserve(contents.size() + entry.size() + DefaultsGroup.size() + 4);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (found.KeyLine && i == *found.KeyLine) {
            result += entry;
        } else {
            result += lines[i].Text;
        }
        result += '\n';
        if (!found.KeyLine && found.GroupLine && i == found.LastLineOfGroup) {
            result += entry;
            result += '\n';
        }
    }
    if (!found.GroupLine) {
        if (!result.empty() && !Trim(lines.back().Text).empty()) {
            result += '\n';
        }
        result += DefaultsGroup;
        result += '\n';
        result += entry;
        result += '\n';
    }
    return result;
}

} // namespace kettrik
