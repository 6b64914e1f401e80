// The file types of the maker's products as the desktop learns them: one place for the MIME
// type, desktop entry and icon names, shared by the program's own registration at start-up and
// by the assoc-registrar program.
#pragma once

#include <string>

#include "platform/file_associations.h"

namespace kettrik {

// This program's sound files (.ktu, .ktp), class "KettrikFile".
FileTypeRegistration KettrikFileType(const std::string& executable, const std::string& description);
// Pattermoor's files (.ptz), class "PTMFile".
FileTypeRegistration PattermoorFileType(const std::string& executable);

} // namespace kettrik
