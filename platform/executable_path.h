#pragma once

#include <string>

namespace kettrik {

// The real path of the running program, as the system knows it; empty if unknown.
std::string ExecutablePath();

} // namespace kettrik
