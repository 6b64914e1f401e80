// A news "movie" as the news server sends it: a short UTF-8 text, one "key: value" per line.
//
//   title: Kettrik Orvalene 5.02 is out     (required: without it the text is no news)
//   text: Three new kick drums and faster rendering.   (up to MaxNewsTextLines lines)
//   link: http://www.kettrik.example/news/502          (the page a click on the news opens)
//   onload: SetNewsFrequency 3                         (a command sent when the news shows)
//   onclick: SetLastNewsClick {Button}                 (a command sent when it is clicked)
//
// A command is a word, then a blank and its arguments. Blank lines, lines beginning with "#"
// and unknown keys are skipped. The text comes from the network: everything is bounded and
// nothing in it can make the parser fail other than by returning nothing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kettrik {

inline constexpr std::size_t MaxNewsBytes = 256 * 1024;
inline constexpr std::size_t MaxNewsTextLines = 4;
inline constexpr std::size_t MaxNewsCommands = 8; // of each kind
inline constexpr std::size_t MaxNewsValueChars = 512;

struct NewsCommand {
    std::string Command;
    std::string Arguments;
    bool operator==(const NewsCommand&) const = default;
};

struct NewsDocument {
    std::string Title;
    std::vector<std::string> Text;
    std::string Link; // empty, or an http or https address
    std::vector<NewsCommand> OnLoad;
    std::vector<NewsCommand> OnClick;
};

// The news in bytes, or nothing when they are not news: too large, holding a NUL byte (not
// text), or without a title. Values are cut to MaxNewsValueChars bytes.
std::optional<NewsDocument> ParseNewsDocument(std::string_view bytes);

// True for an address that starts with "http://" or "https://" in any case.
bool IsWebAddress(std::string_view address);

} // namespace kettrik
