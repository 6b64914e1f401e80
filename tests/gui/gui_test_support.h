// Shared by the widget tests: a private home for each test program, so settings, file
// associations and temporary files never touch the user's.
#pragma once

#include <string>

#include <QString>
#include <QTemporaryDir>

namespace kettrik::test {

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR at folders inside a fresh
// temporary folder for the life of the object. Create it before the QApplication.
class PrivateHome {
public:
    PrivateHome();
    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The whole file, or empty when it cannot be read.
std::string ReadAll(const std::string& path);

// Saves the widget's picture to SCREENSHOT_DIR/<name>.png; returns the file's path.
QString SaveScreenshot(class QWidget* widget, const QString& name);

} // namespace kettrik::test
