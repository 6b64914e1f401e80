// The program's command line: nothing, one sound file to open, or the plug-in form with which
// the Tuareg wave editor starts the program: "-tu", two integers, the WAV path to write and
// the sound path to edit, each its own argument so paths with blanks stay whole.
#pragma once

#include <QString>
#include <QStringList>

namespace kettrik {

struct StartupCommand {
    enum class Kind { None, OpenFile, Plugin };
    Kind Form = Kind::None;
    QString FilePath;        // OpenFile
    QString PluginWavPath;   // Plugin
    QString PluginSoundPath; // Plugin
};

// The arguments after the program's name.
StartupCommand ParseCommandLine(const QStringList& arguments);

// A path that begins with a double quote loses its first and last characters (shells pass
// quoted paths on). A lone quote leaves an empty path.
QString StripQuotes(const QString& path);

} // namespace kettrik
