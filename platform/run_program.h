// Starting a helper program of the desktop (update-mime-database and the like): looked up on
// PATH, started directly (never through a shell), its input and output tied to /dev/null.
#pragma once

#include <string>
#include <vector>

namespace kettrik {

// The exit status once the program has ended; -1 when it was not found or could not start
// or did not end normally.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments);

} // namespace kettrik
