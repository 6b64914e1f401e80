#include <QtTest>

#include "gui/gui_test_support.h"
#include "model/profile_file.h"
#include "news/banner_commands.h"
#include "platform/settings_store.h"

using namespace kettrik;

class BannerCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void commands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("written");
        QTest::newRow("Set with a key") << "SetNewsUrl"
                                        << "http://news.example/x" << true;
        QTest::newRow("any key of the section") << "SetNewsFrequency"
                                                << "3" << true;
        QTest::newRow("lower-case set") << "setNewsUrl"
                                        << "http://evil.example" << false;
        QTest::newRow("showmenu") << "showmenu"
                                  << "false" << false;
        QTest::newRow("allowscale") << "allowscale"
                                    << "false" << false;
        QTest::newRow("Set alone") << "Set"
                                   << "x" << false;
        QTest::newRow("line break in the value") << "SetNewsUrl"
                                                 << "http://a\r\n[Other]\r\nKey=1" << false;
        QTest::newRow("line break in the key") << "SetA\nB"
                                               << "1" << false;
        QTest::newRow("equals sign in the key") << "SetA=B"
                                                << "1" << false;
        QTest::newRow("bracket in the key") << "Set[Kettrik]"
                                            << "1" << false;
        QTest::newRow("blank around the key") << "Set NewsUrl"
                                              << "1" << false;
        QTest::newRow("value too long") << "SetNewsUrl" << QString(5000, 'x') << false;
    }

    void commands() {
        QFETCH(QString, command);
        QFETCH(QString, arguments);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const std::string path = dir.filePath("settings.ini").toStdString();
        SettingsStore settings(path);
        settings.WriteString("Kettrik", "NewsAuto", "1");
        const std::string before = test::ReadAll(path);
        QCOMPARE(HandleBannerCommand(settings, command.toStdString(), arguments.toStdString()),
                 written);
        if (!written) {
            QCOMPARE(test::ReadAll(path), before);
            return;
        }
        QCOMPARE(
            QString::fromStdString(settings.GetString("Kettrik", command.mid(3).toStdString(), "")),
            arguments);
        ProfileDocument document;
        ReadProfileFile(path, document);
        QCOMPARE(int(document.Sections.size()), 1);
    }

    void newsAddressIsTheSettingCutTo126AndOnlyEverWeb() {
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath("settings.ini").toStdString());
        QCOMPARE(QString::fromStdString(NewsAddress(settings)),
                 QString("http://news.kettrik.example/kettrik/news/"));
        const std::string longAddress = "https://news.example/" + std::string(200, 'a');
        QVERIFY(HandleBannerCommand(settings, "SetNewsUrl", longAddress));
        QCOMPARE(NewsAddress(settings), longAddress.substr(0, 126));
        for (const char* refused :
             {"file:///etc/passwd", "javascript:alert(1)", "ftp://x.example/"}) {
            QVERIFY(HandleBannerCommand(settings, "SetNewsUrl", refused));
            QCOMPARE(NewsAddress(settings), std::string());
        }
        QVERIFY(HandleBannerCommand(settings, "SetNewsUrl", "HTTP://News.Example/"));
        QCOMPARE(NewsAddress(settings), std::string("HTTP://News.Example/"));
    }
};

int main(int argc, char** argv) {
    const kettrik::test::PrivateHome home;
    QCoreApplication application(argc, argv);
    BannerCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "banner_commands_test.moc"
