// assoc-registrar: writes the desktop's file associations for one of the maker's products.
// Its command text is a keyword ("KTP" for this program's sound files, "PTM" for Pattermoor's
// files), one separator character, and the path of the product's executable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_associations.h"

namespace kettrik {

// The association a command text asks for, or nothing for an unknown keyword or a text with
// no path. The path is taken as given, except that one pair of enclosing double quotes is
// removed (they only delimit a path with blanks) and a relative path is made absolute.
std::optional<FileTypeRegistration> RegistrationForCommand(std::string_view commandText);

// The arguments joined by single blanks, as the command text.
std::string JoinArguments(int argc, const char* const* argv);

} // namespace kettrik
