#include "gui/gui_test_support.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QWidget>

namespace kettrik::test {

PrivateHome::PrivateHome() {
    for (const char* folder : {"config", "data", "runtime"}) {
        QDir(dir_.path()).mkpath(QString::fromLatin1(folder));
    }
    QDir(dir_.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(dir_.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", dir_.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", dir_.filePath(QStringLiteral("runtime")).toLocal8Bit());
}

std::string ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

QString SaveScreenshot(QWidget* widget, const QString& name) {
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    const QString path = QStringLiteral(SCREENSHOT_DIR) + QLatin1Char('/') + name + ".png";
    widget->grab().save(path);
    return path;
}

} // namespace kettrik::test
