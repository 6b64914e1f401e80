#include "registrar/registrar.h"

#include <filesystem>

#include "platform/document_types.h"

namespace kettrik {

namespace {

std::string PathFrom(std::string_view commandText) {
    // The fourth character separates keyword and path, whatever it is.
    if (commandText.size() <= 4) {
        return {};
    }
    std::string path(commandText.substr(4));
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? std::string() : absolute.lexically_normal().string();
}

} // namespace

std::optional<FileTypeRegistration> RegistrationForCommand(std::string_view commandText) {
    const std::string_view keyword = commandText.substr(0, 3);
    const std::string path = PathFrom(commandText);
    if (path.empty()) {
        return std::nullopt;
    }
    if (keyword == "PTM") {
        return PattermoorFileType(path);
    }
    if (keyword == "KTP") {
        return KettrikFileType(path, "Kettrik Ultra File");
    }
    return std::nullopt;
}

std::string JoinArguments(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            text += ' ';
        }
        text += argv[i];
    }
    return text;
}

} // namespace kettrik
