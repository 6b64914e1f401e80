#include "integration/tuareg_messages.h"

#include <QMessageBox>

#include "news/web_addresses.h"

namespace kettrik {

namespace {

const char* const Greeting =
    "Hey dude/dudette!\n\n....you have TUAREG FAT Installed!!\n\nAutomatically registered "
    "Kettrik Orvalene\nas TUAREG Import and Edit plugin!\n\nENJOY :-)";
const char* const Success =
    "Successfully registered Kettrik Orvalene\nas TUAREG Import and Edit plugin!";
const char* const Failure = "Kettrik FAILED to register as a TUAREG plugin!!";
const char* const NotInstalled =
    "Tuareg apparently not Installed :-(\nWant to go to the Tuareg Website and check it out?";
const char* const WithoutPlugins =
    "Sorry you need Tuareg FAT version for plugins to work!\nWant to run off to get the udpate?";

void Tell(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const char* text) {
    QMessageBox box(icon, caption, QString::fromLatin1(text), QMessageBox::Ok, parent);
    box.exec();
}

bool AskYes(QWidget* parent, const QString& caption, const char* text) {
    QMessageBox box(QMessageBox::Critical, caption, QString::fromLatin1(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

TuaregOutcome RegisterTuaregPluginAtStartup(QWidget* parent, const QString& caption,
                                            const TuaregPaths& paths) {
    const TuaregOutcome outcome = RegisterTuaregPlugin(false, paths);
    if (outcome == Registered) {
        Tell(parent, QMessageBox::Information, caption, Greeting);
    }
    return outcome;
}

TuaregOutcome RegisterTuaregPluginFromMenu(QWidget* parent, const QString& caption,
                                           const TuaregPaths& paths,
                                           const WebPageOpener& openWebPage) {
    const TuaregOutcome outcome = RegisterTuaregPlugin(true, paths);
    bool visitSite = false;
    switch (outcome) {
    case Registered:
        Tell(parent, QMessageBox::Information, caption, Success);
        break;
    case RegistrationFailed:
        Tell(parent, QMessageBox::Critical, caption, Failure);
        break;
    case TuaregNotInstalled:
        visitSite = AskYes(parent, caption, NotInstalled);
        break;
    case TuaregWithoutPlugins:
        visitSite = AskYes(parent, caption, WithoutPlugins);
        break;
    case AlreadyRegistered:
        break; // a forced registration never finds itself done
    }
    if (visitSite && openWebPage) {
        openWebPage(QString::fromLatin1(web::TuaregSite));
    }
    return outcome;
}

} // namespace kettrik
