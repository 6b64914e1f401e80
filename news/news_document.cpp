#include "news/news_document.h"

#include <algorithm>

namespace kettrik {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Bounded(std::string_view value) {
    return std::string(value.substr(0, MaxNewsValueChars));
}

NewsCommand CommandOf(std::string_view value) {
    const std::size_t blank = value.find(' ');
    if (blank == std::string_view::npos) {
        return {std::string(value), {}};
    }
    return {std::string(value.substr(0, blank)), std::string(value.substr(blank + 1))};
}

void AddCommand(std::vector<NewsCommand>& commands, std::string_view value) {
    if (!value.empty() && commands.size() < MaxNewsCommands) {
        commands.push_back(CommandOf(Bounded(value)));
    }
}

} // namespace

bool IsWebAddress(std::string_view address) {
    const auto startsWith = [address](std::string_view prefix) {
        return address.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), address.begin(), [](char p, char a) {
                   return p == (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a);
               });
    };
    return startsWith("http://") || startsWith("https://");
}

std::optional<NewsDocument> ParseNewsDocument(std::string_view bytes) {
    if (bytes.size() > MaxNewsBytes || bytes.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    NewsDocument news;
    bool titled = false;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = Trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        const std::size_t colon = line.find(':');
        if (line.empty() || line.front() == '#' || colon == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trimmed(line.substr(0, colon));
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (key == "title" && !titled && !value.empty()) {
            news.Title = Bounded(value);
            titled = true;
        } else if (key == "text" && news.Text.size() < MaxNewsTextLines) {
            news.Text.push_back(Bounded(value));
        } else if (key == "link" && news.Link.empty() && IsWebAddress(value) &&
                   value.size() <= MaxNewsValueChars) {
            news.Link = std::string(value);
        } else if (key == "onload") {
            AddCommand(news.OnLoad, value);
        } else if (key == "onclick") {
            AddCommand(news.OnClick, value);
        }
    }
    if (!titled) {
        return std::nullopt;
    }
    return news;
}

} // namespace kettrik
