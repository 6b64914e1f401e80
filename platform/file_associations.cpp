#include "platform/file_associations.h"

// Placeholder until the freedesktop.org registration lands.
namespace kettrik {

bool RegisterFileType(const FileTypeRegistration&) {
    return true;
}

} // namespace kettrik
