// The texts that name the program and the document in the title bar and message boxes.
#pragma once

#include <QString>

namespace kettrik {

inline constexpr const char* VersionTextValue = "5.01";
inline constexpr const char* BuildTextValue = "54";

// "Kettrik Orvalene 5.01", or "Kettrik Orvalene 5.01 (Build 54)" with the build.
QString ProductTitle(const QString& version, const QString& build, bool withBuild);

// "<product> [*path]": "*" while modified, "untitled" without a path.
QString WindowTitle(const QString& productTitle, bool modified, const QString& documentPath);

} // namespace kettrik
