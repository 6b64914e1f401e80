// assoc-registrar KTP|PTM PATH: registers the file types of a product with the desktop.
// Windowless and silent; the exit code is always 0, whatever happened.
#include "registrar/registrar.h"

int main(int argc, char** argv) {
    const auto registration = kettrik::RegistrationForCommand(kettrik::JoinArguments(argc, argv));
    if (registration) {
        kettrik::RegisterFileType(*registration);
    }
    return 0;
}
