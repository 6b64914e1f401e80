#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/gui_test_support.h"
#include "integration/tuareg_registration.h"

using namespace kettrik;

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TuaregRegistrationTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString config() const { return dir.filePath("tuareg.ini"); }
    QString plugins() const { return dir.filePath("plugins"); }
    TuaregPaths paths() const {
        return {config().toStdString(), "/opt/kettrik orvalene/bin/kettrik-orvalene"};
    }

private slots:
    void init() {
        QFile::remove(config());
        QDir(plugins()).removeRecursively();
        QDir().mkpath(plugins());
    }

    void outcomesFollowTheConfiguration_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("outcome");
        const QByteArray withPlugins =
            "[General]\r\nVersion=2.1\r\n[Paths]\r\nPluginPath=" + plugins().toUtf8() + "\r\n";
        QTest::newRow("no configuration file") << QByteArray() << int(TuaregNotInstalled);
        QTest::newRow("version beginning with a hyphen")
            << QByteArray("[General]\r\nVersion=-1\r\n") << int(TuaregNotInstalled);
        QTest::newRow("empty version counts, no plug-in path")
            << QByteArray("[General]\r\nVersion=\r\n") << int(TuaregWithoutPlugins);
        QTest::newRow("plug-in path beginning with a hyphen")
            << QByteArray("[General]\r\nVersion=2\r\n[Paths]\r\nPluginPath=-\r\n")
            << int(TuaregWithoutPlugins);
        QTest::newRow("plug-in capable") << withPlugins << int(Registered);
        QTest::newRow("plug-in folder that cannot be written")
            << QByteArray(
                   "[General]\r\nVersion=2\r\n[Paths]\r\nPluginPath=/nonexistent/plugins\r\n")
            << int(RegistrationFailed);
    }

    void outcomesFollowTheConfiguration() {
        QFETCH(QByteArray, ini);
        QFETCH(int, outcome);
        if (!ini.isEmpty()) {
            Write(config(), ini);
        }
        QCOMPARE(int(RegisterTuaregPlugin(false, paths())), outcome);
    }

    void descriptorsHoldTheirEightLinesExactly() {
        Write(config(), "[General]\r\nVersion=2\r\n[Paths]\r\nPluginPath=" + plugins().toUtf8());
        QCOMPARE(int(RegisterTuaregPlugin(false, paths())), int(Registered));
        const QByteArray expectedImport =
            "[plugin]\r\nname=Kettrik Orvalene Plugin\r\nkind=0\r\n"
            "description=Kettrik sound IMPORT\r\n"
            "executable=/opt/kettrik orvalene/bin/kettrik-orvalene -tu\r\n"
            "extension=.ktu\r\nauthor=Quorr - http://www.kettrik.example\r\n"
            "copyright=(c) Quorr, all rights reserved\r\n";
        QCOMPARE(Read(plugins() + "/kettrin.ini"), expectedImport);
        QByteArray expectedEdit = expectedImport;
        expectedEdit.replace("kind=0", "kind=5").replace("IMPORT", "EDIT");
        QCOMPARE(Read(plugins() + "/kettred.ini"), expectedEdit);
    }

    void automaticRunTestsOnlyTheImportDescriptorButTheMenuRewritesBoth() {
        Write(config(), "[General]\r\nVersion=2\r\n[Paths]\r\nPluginPath=" + plugins().toUtf8());
        Write(plugins() + "/kettrin.ini", "old");
        QCOMPARE(int(RegisterTuaregPlugin(false, paths())), int(AlreadyRegistered));
        QVERIFY(!QFile::exists(plugins() + "/kettred.ini"));
        QCOMPARE(Read(plugins() + "/kettrin.ini"), QByteArray("old"));

        QCOMPARE(int(RegisterTuaregPlugin(true, paths())), int(Registered));
        QVERIFY(Read(plugins() + "/kettrin.ini").startsWith("[plugin]\r\n"));
        QVERIFY(Read(plugins() + "/kettred.ini").contains("kind=5"));
    }

    void trailingSeparatorIsKeptAsWritten() {
        Write(config(),
              "[General]\r\nVersion=2\r\n[Paths]\r\nPluginPath=" + plugins().toUtf8() + "/");
        QCOMPARE(int(RegisterTuaregPlugin(false, paths())), int(Registered));
        QVERIFY(QFile::exists(plugins() + "/kettrin.ini"));
    }
};

int main(int argc, char** argv) {
    const kettrik::test::PrivateHome home;
    QCoreApplication application(argc, argv);
    TuaregRegistrationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tuareg_registration_test.moc"
