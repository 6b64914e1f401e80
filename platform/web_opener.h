// Opening an address with the desktop's opener (xdg-open), which hands a web page to the
// user's browser.
#pragma once

#include <string>

namespace kettrik {

// Starts xdg-open with the address as its one argument, directly (never through a shell),
// and does not wait for it: a browser may take long. Only http and https addresses are
// handed on. Nothing is reported: without an opener or a browser nothing happens.
void OpenAddress(const std::string& address);

} // namespace kettrik
