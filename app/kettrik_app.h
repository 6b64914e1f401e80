// The application object: registers the sound-file type with the desktop, then runs the main
// window modally. When the window ends, the program ends.
#pragma once

#include <QStringList>

namespace kettrik {

class CKettrikApp {
public:
    // The arguments after the program's name; returns the process's exit code.
    int Run(const QStringList& arguments);
};

} // namespace kettrik
