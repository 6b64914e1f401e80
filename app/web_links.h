// The web pages the menus open: which address each command opens, and the query every
// opened address carries (the build and the user's connection type).
#pragma once

#include <QString>

namespace kettrik {

// The fixed address of a menu command of the Special, Web or Help menus; empty for any other
// command.
QString WebLinkAddress(int command);

// address + "?KettrikVersion=" + build + "&Link=" + connection.
QString WebPageAddress(const QString& address, const QString& build, int connection);

} // namespace kettrik
