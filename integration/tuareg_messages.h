// What the user hears of the Tuareg plug-in registration: a greeting when start-up has just
// registered the program, and the outcome of the menu command, which can lead to Tuareg's
// web site.
#pragma once

#include <functional>

#include <QString>

#include "integration/tuareg_registration.h"

class QWidget;

namespace kettrik {

using WebPageOpener = std::function<void(const QString& address)>;

// Registers unless already registered; says so only when it has just registered.
TuaregOutcome RegisterTuaregPluginAtStartup(QWidget* parent, const QString& caption,
                                            const TuaregPaths& paths);

// Rewrites both descriptors and reports the outcome; a Yes to the questions opens Tuareg's
// site with openWebPage (nothing opens while it is empty).
TuaregOutcome RegisterTuaregPluginFromMenu(QWidget* parent, const QString& caption,
                                           const TuaregPaths& paths,
                                           const WebPageOpener& openWebPage);

} // namespace kettrik
