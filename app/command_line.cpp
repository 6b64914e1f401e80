#include "app/command_line.h"

namespace kettrik {

namespace {

// What "%d" would accept as a whole argument: an optional sign, then a digit.
bool StartsWithInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    int i = 0;
    if (i < trimmed.size() && (trimmed[i] == QLatin1Char('+') || trimmed[i] == QLatin1Char('-'))) {
        ++i;
    }
    return i < trimmed.size() && trimmed[i].isDigit();
}

} // namespace

QString StripQuotes(const QString& path) {
    if (!path.startsWith(QLatin1Char('"'))) {
        return path;
    }
    return path.size() < 2 ? QString() : path.mid(1, path.size() - 2);
}

StartupCommand ParseCommandLine(const QStringList& arguments) {
    StartupCommand command;
    const QString text = arguments.join(QLatin1Char(' '));
    if (text.isEmpty()) {
        return command;
    }
    const bool pluginSwitch =
        arguments[0].left(3).compare(QLatin1String("-tu"), Qt::CaseInsensitive) == 0;
    if (pluginSwitch && arguments.size() >= 5 && StartsWithInteger(arguments[1]) &&
        StartsWithInteger(arguments[2]) && !arguments[3].isEmpty() && !arguments[4].isEmpty()) {
        command.Form = StartupCommand::Kind::Plugin;
        // The sound path is unquoted first, then the WAV path, as the plug-in host expects.
        command.PluginSoundPath = StripQuotes(arguments[4]);
        command.PluginWavPath = StripQuotes(arguments[3]);
        return command;
    }
    command.Form = StartupCommand::Kind::OpenFile;
    command.FilePath = StripQuotes(text);
    return command;
}

} // namespace kettrik
