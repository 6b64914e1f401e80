// The desktop's web-page opener replaced by a script of the test's own, so the program's real
// process start is exercised and the test can read which addresses were opened.
#pragma once

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace kettrik::test {

// A stand-in for the desktop's xdg-open, first on PATH, that notes each address it is given
// in a log file. Create it before the QApplication.
class StubOpener {
public:
    StubOpener() {
        log_ = dir_.filePath(QStringLiteral("opened.log"));
        QFile script(dir_.filePath(QStringLiteral("xdg-open")));
        if (!script.open(QIODevice::WriteOnly)) {
            qFatal("could not write the stub opener");
        }
        script.write(
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\n").arg(log_).toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir_.path().toLocal8Bit() + ':' + qgetenv("PATH"));
    }
    // The addresses opened since the last Take, one per call of the opener. The log is moved
    // aside before it is read, so a line the opener appends meanwhile starts a new log.
    QStringList Take() {
        const QString taken = log_ + QStringLiteral(".taken");
        QFile::remove(taken);
        if (!QFile::rename(log_, taken)) {
            return {};
        }
        QFile file(taken);
        QStringList lines;
        if (file.open(QIODevice::ReadOnly)) {
            lines =
                QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        return lines;
    }

    // Waits (up to twenty seconds: the opener runs on its own, and a loaded machine may be slow
    // to start it) until `count` addresses came.
    QStringList Wait(int count) {
        QStringList opened;
        for (int waited = 0; waited < 20000 && opened.size() < count; waited += 10) {
            opened += Take();
            if (opened.size() < count) {
                QTest::qWait(10);
            }
        }
        return opened;
    }

private:
    QTemporaryDir dir_;
    QString log_;
};

} // namespace kettrik::test
