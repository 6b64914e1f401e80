// The user's choice of default applications per MIME type ($XDG_CONFIG_HOME/mimeapps.list),
// edited line by line so that everything else in the file stays exactly as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kettrik {

// The first desktop file named for the type under [Default Applications]; empty when the
// type has no default there (or only an empty value).
std::string DefaultApplication(std::string_view contents, std::string_view mimeType);

// The file's new contents with desktopId as the type's default, when the type has no default
// yet (or an empty one); nothing when a default is already set, whether ours or another
// program's: the user's choice stands.
std::optional<std::string> WithDefaultApplication(std::string_view contents,
                                                  std::string_view mimeType,
                                                  std::string_view desktopId);

} // namespace kettrik
