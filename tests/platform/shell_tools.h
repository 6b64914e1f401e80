// Running the desktop's own command-line tools from tests, as a user would type them.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace kettrik::test {

struct ToolResult {
    int Status;
    std::string Output; // standard output and error, without the final line break
};

inline ToolResult RunShell(const std::string& command) {
    ToolResult result{-1, {}};
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char block[512];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) {
        result.Output.append(block, got);
    }
    const int status = ::pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    while (!result.Output.empty() && result.Output.back() == '\n') {
        result.Output.pop_back();
    }
    return result;
}

inline bool HaveTool(const char* name) {
    return RunShell(std::string("command -v ") + name + " >/dev/null").Status == 0;
}

// A shell word for text without single quotes.
inline std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace kettrik::test
