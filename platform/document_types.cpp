#include "platform/document_types.h"

namespace kettrik {

FileTypeRegistration KettrikFileType(const std::string& executable,
                                     const std::string& description) {
    return {MimeTypeForClass("KettrikFile"),    description,        {".KTU", ".KTP"},
            "example.kettrik.Orvalene.desktop", "Kettrik Orvalene", executable,
            "example.kettrik.Orvalene"};
}

FileTypeRegistration PattermoorFileType(const std::string& executable) {
    return {MimeTypeForClass("PTMFile"),          "Pattermoor File", {".ptz"},
            "example.kettrik.Pattermoor.desktop", "Pattermoor",      executable,
            "example.kettrik.Pattermoor"};
}

} // namespace kettrik
