// The news, the news settings and the Tuareg registration as the main window's user meets
// them: start-up questions and greetings, the menu commands, the banner fed by a server on
// 127.0.0.1 that the test runs.
#include <functional>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "app/main_dialog.h"
#include "gui/gui_test_support.h"
#include "gui/loopback_http_server.h"
#include "gui/stub_opener.h"
#include "integration/tuareg_registration.h"
#include "news/banner_flash.h"
#include "news/builtin_banner_movie.h"
#include "news/news_movie.h"
#include "news/news_schedule.h"
#include "news/news_settings_dialog.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

using namespace kettrik;

namespace {

// Every page the program opens goes to the stand-in opener, with the query the program adds.
test::StubOpener* opener = nullptr;
const QString Query = QStringLiteral("?KettrikVersion=54&Link=1");

const QString Caption = QStringLiteral("Kettrik Orvalene 5.01");
const QString CaptionWithBuild = QStringLiteral("Kettrik Orvalene 5.01 (Build 54)");

// Handles every modal window that opens until the object goes, in order, with `answer`;
// what was seen stays in Seen.
class ModalAnswerer {
public:
    using Answer = std::function<void(QWidget*)>;
    explicit ModalAnswerer(Answer answer) : answer_(std::move(answer)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && !busy_) {
                busy_ = true;
                Seen << modal->objectName();
                answer_(modal);
                busy_ = false;
            }
        });
        timer_.start();
    }
    QStringList Seen;

private:
    Answer answer_;
    QTimer timer_;
    bool busy_ = false;
};

struct Box {
    QString Text, Title;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};

// Reads a message box and presses one of its buttons.
ModalAnswerer::Answer Press(QMessageBox::StandardButton button, QList<Box>* boxes) {
    return [button, boxes](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        boxes->append({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    };
}

QString TuaregConfig() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/tuareg.ini");
}

void WriteTuaregConfig(const QByteArray& text) {
    QFile file(TuaregConfig());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// The window on a settings file of its own; the news address points at the test's server.
struct Window {
    explicit Window(std::function<void(SettingsStore&)> prepare = {})
        : Settings(Folder.filePath(QStringLiteral("settings.ini")).toStdString()) {
        Settings.WriteString(settings::Kettrik, settings::NewsUrl,
                             Server.Url(QStringLiteral("/kettrik/news/")).toStdString());
        if (prepare) {
            prepare(Settings);
        }
    }
    void Open() {
        Dialog = std::make_unique<CMainDialog>(Settings, Player, StartupCommand{});
        Dialog->show();
    }
    CBannerFlash& Banner() const { return *Dialog->BannerFlash(); }
    QString NewsTitle() const {
        const auto* news = dynamic_cast<const NewsMovie*>(Banner().Movie(1));
        return news ? QString::fromStdString(news->News().Title) : QString();
    }
    test::LoopbackHttpServer Server;
    QTemporaryDir Folder;
    SettingsStore Settings;
    AudioPlayer Player;
    std::unique_ptr<CMainDialog> Dialog;
};

void NoScheduledNews(SettingsStore& settings) {
    settings.WriteInt(settings::Kettrik, settings::LastNewsDate,
                      static_cast<std::int32_t>(QDateTime::currentSecsSinceEpoch()));
}

} // namespace

class NewsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QFile::remove(TuaregConfig()); }

    void startUpAsksForDueNewsUnlessAutomatic_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(QMessageBox::Yes);
        QTest::newRow("No") << int(QMessageBox::No);
    }
    void startUpAsksForDueNewsUnlessAutomatic() {
        QFETCH(int, answer);
        Window w([](SettingsStore& s) { s.WriteInt(settings::Kettrik, settings::NewsAuto, 0); });
        w.Server.Serve("/kettrik/news/", "title: Due news\n");
        QList<Box> boxes;
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        {
            ModalAnswerer answerer(Press(QMessageBox::StandardButton(answer), &boxes));
            w.Open();
        }
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Text, QString::fromLatin1(NewsQuestion));
        QCOMPARE(boxes[0].Title, CaptionWithBuild);
        QCOMPARE(boxes[0].Icon, QMessageBox::Question);
        QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        const std::int32_t last = w.Settings.GetInt(settings::Kettrik, settings::LastNewsDate, 0);
        if (answer == QMessageBox::Yes) {
            QVERIFY(last >= before && last <= QDateTime::currentSecsSinceEpoch());
            QTRY_COMPARE(w.NewsTitle(), QString("Due news"));
        } else {
            QCOMPARE(last, 0);
            QTest::qWait(200);
            QVERIFY(w.Server.Requests().isEmpty());
            QCOMPARE(w.Banner().Movie(1), nullptr);
        }
    }

    void newsMayChangeTheNextNewsAddress() {
        Window w(NoScheduledNews);
        w.Server.Serve("/kettrik/news/", "title: First\n"
                                         "onload: SetNewsUrl " +
                                             w.Server.Url("/second").toUtf8() +
                                             "\n"
                                             "onload: setNewsAuto 0\n");
        w.Server.Serve("/second", "title: Second\n");
        w.Open();
        QTest::qWait(200);
        QVERIFY(w.Server.Requests().isEmpty()); // not due at start-up

        w.Dialog->GetNewsNow();
        QTRY_COMPARE(w.NewsTitle(), QString("First"));
        QCOMPARE(w.Settings.GetString(settings::Kettrik, settings::NewsUrl, ""),
                 w.Server.Url("/second").toStdString());
        QCOMPARE(w.Settings.GetString(settings::Kettrik, settings::NewsAuto, "absent"),
                 std::string("absent")); // "set" is not "Set"

        // The second press unloads the first news before the next arrives.
        w.Dialog->GetNewsNow();
        QCOMPARE(w.Banner().Movie(1), nullptr);
        QTRY_COMPARE(w.NewsTitle(), QString("Second"));
        QCOMPARE(w.Server.Requests(), (QStringList{"/kettrik/news/", "/second"}));
    }

    void bannerCommandsOfTheBuiltInMovieChangeNoSetting() {
        Window w(NoScheduledNews);
        w.Open();
        const std::string before = test::ReadAll(w.Settings.Path());
        QTRY_VERIFY(static_cast<BuiltinBannerMovie*>(w.Banner().Movie(0))->Frame() > 2);
        QCOMPARE(test::ReadAll(w.Settings.Path()), before);
    }

    void windowWithBannerFirstAndLastFrame() {
        Window w(NoScheduledNews);
        w.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w.Dialog.get()));
        test::SaveScreenshot(w.Dialog.get(), QStringLiteral("main-banner-first-frame"));
        auto* movie = static_cast<BuiltinBannerMovie*>(w.Banner().Movie(0));
        QTRY_COMPARE_WITH_TIMEOUT(movie->Frame(), BuiltinBannerMovie::FrameCount - 1, 8000);
        test::SaveScreenshot(w.Dialog.get(), QStringLiteral("main-banner-last-frame"));
        // The last frame's buttons open the maker's pages through the window's opener.
        const QRect banner = w.Banner().geometry();
        const double scale = banner.width() / MovieStage.width();
        QTest::mouseClick(&w.Banner(), Qt::LeftButton, {},
                          QPoint(int(570 * scale), banner.height() / 2 - int(17 * scale)));
        QCOMPARE(opener->Wait(1), QStringList{"http://www.kettrik.example" + Query});
    }

    void startUpGreetsOnlyWhenItHasJustRegistered() {
        QTemporaryDir plugins;
        WriteTuaregConfig(
            "[General]\r\nVersion=3\r\n[Paths]\r\nPluginPath=" + plugins.path().toUtf8() + "\r\n");
        QList<Box> boxes;
        ModalAnswerer answerer(Press(QMessageBox::Ok, &boxes));
        Window first(NoScheduledNews);
        first.Open();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Text,
                 QString("Hey dude/dudette!\n\n....you have TUAREG FAT Installed!!\n\n"
                         "Automatically registered Kettrik Orvalene\nas TUAREG Import and Edit "
                         "plugin!\n\nENJOY :-)"));
        QCOMPARE(boxes[0].Title, Caption);
        QCOMPARE(boxes[0].Icon, QMessageBox::Information);
        QCOMPARE(boxes[0].Buttons, QMessageBox::Ok);
        QVERIFY(QFile::exists(plugins.filePath("kettrin.ini")));
        QVERIFY(QFile::exists(plugins.filePath("kettred.ini")));

        // Registered already, without Tuareg, or without its plug-ins: silence.
        for (const QByteArray& config :
             {QByteArray(), QByteArray("[General]\r\nVersion=3\r\n"),
              "[General]\r\nVersion=3\r\n[Paths]\r\nPluginPath=" + plugins.path().toUtf8()}) {
            WriteTuaregConfig(config);
            Window again(NoScheduledNews);
            again.Open();
        }
        QCOMPARE(boxes.size(), 1);
    }

    void menuRegistrationReportsEveryOutcome_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("opened");
        const int yesNo = int(QMessageBox::Yes | QMessageBox::No);
        QTest::newRow("registered")
            << QByteArray("[General]\r\nVersion=3\r\n[Paths]\r\nPluginPath=PLUGINS\r\n")
            << "Successfully registered Kettrik Orvalene\nas TUAREG Import and Edit plugin!"
            << int(QMessageBox::Information) << int(QMessageBox::Ok) << int(QMessageBox::Ok)
            << QStringList();
        QTest::newRow("folder cannot be written")
            << QByteArray("[General]\r\nVersion=3\r\n[Paths]\r\nPluginPath=/nonexistent/p\r\n")
            << "Kettrik FAILED to register as a TUAREG plugin!!" << int(QMessageBox::Critical)
            << int(QMessageBox::Ok) << int(QMessageBox::Ok) << QStringList();
        QTest::newRow("not installed, Yes")
            << QByteArray()
            << "Tuareg apparently not Installed :-(\nWant to go to the Tuareg Website and check "
               "it out?"
            << int(QMessageBox::Critical) << yesNo << int(QMessageBox::Yes)
            << QStringList{"http://www.tuareg.example" + Query};
        QTest::newRow("without plug-ins, Yes")
            << QByteArray("[General]\r\nVersion=3\r\n")
            << "Sorry you need Tuareg FAT version for plugins to work!\nWant to run off to get "
               "the udpate?"
            << int(QMessageBox::Critical) << yesNo << int(QMessageBox::Yes)
            << QStringList{"http://www.tuareg.example" + Query};
        QTest::newRow("without plug-ins, No")
            << QByteArray("[General]\r\nVersion=3\r\n")
            << "Sorry you need Tuareg FAT version for plugins to work!\nWant to run off to get "
               "the udpate?"
            << int(QMessageBox::Critical) << yesNo << int(QMessageBox::No) << QStringList();
    }
    void menuRegistrationReportsEveryOutcome() {
        QFETCH(QByteArray, config);
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, answer);
        QFETCH(QStringList, opened);
        Window w(NoScheduledNews);
        w.Open();
        QTemporaryDir plugins;
        // Already registered: the menu command writes both files again all the same.
        QFile(plugins.filePath("kettrin.ini")).open(QIODevice::WriteOnly);
        if (!config.isEmpty()) {
            WriteTuaregConfig(QByteArray(config).replace("PLUGINS", plugins.path().toUtf8()));
        }
        QList<Box> boxes;
        {
            ModalAnswerer answerer(Press(QMessageBox::StandardButton(answer), &boxes));
            w.Dialog->RegisterTuaregPluginFromMenu();
        }
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Text, text);
        QCOMPARE(boxes[0].Title, Caption);
        QCOMPARE(int(boxes[0].Icon), icon);
        QCOMPARE(int(boxes[0].Buttons), buttons);
        QCOMPARE(opener->Wait(int(opened.size())), opened);
        QTest::qWait(50);
        QCOMPARE(opener->Take(), QStringList()); // nothing more was opened
        if (icon == QMessageBox::Information) {
            QVERIFY(QFileInfo(plugins.filePath("kettrin.ini")).size() > 0);
            QVERIFY(QFile::exists(plugins.filePath("kettred.ini")));
        }
    }

    void settingsDialogShowsAndWritesTheStoredValues_data() {
        QTest::addColumn<QStringList>("stored"); // NewsAuto, NewsFrequency, NewsConnection
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("nothing stored") << QStringList{} << true << "Every 5 days"
                                        << "Slow (Modem)" << QStringList{"1", "2", "1"};
        QTest::newRow("every launch, no connection")
            << QStringList{"0", "0", "0"} << false << "- every launch -"
            << "none" << QStringList{"0", "0", "0"};
        QTest::newRow("90 days has no entry") << QStringList{"1", "7", "3"} << true << ""
                                              << "Fixed (always on)" << QStringList{"1", "-1", "3"};
        QTest::newRow("automatic out of range")
            << QStringList{"5", "6", "2"} << false << "Every 60 days"
            << "Fast (Cable)" << QStringList{"0", "6", "2"};
        QTest::newRow("automatic below zero") << QStringList{"-1", "-4", "9"} << false << ""
                                              << "" << QStringList{"0", "-1", "-1"};
    }
    void settingsDialogShowsAndWritesTheStoredValues() {
        QFETCH(QStringList, stored);
        QFETCH(bool, ticked);
        QFETCH(QString, frequency);
        QFETCH(QString, connection);
        QFETCH(QStringList, written);
        Window w(NoScheduledNews);
        const std::string_view keys[] = {settings::NewsAuto, settings::NewsFrequency,
                                         settings::NewsConnection};
        for (int i = 0; i < stored.size(); ++i) {
            w.Settings.WriteString(settings::Kettrik, keys[i], stored[i].toStdString());
        }
        w.Open();
        ModalAnswerer answerer([&](QWidget* modal) {
            auto* dialog = qobject_cast<CNewsSettingsDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Quorr News"));
            QCOMPARE(dialog->AutomaticBox()->text(), QString("Automatic"));
            QCOMPARE(dialog->AutomaticBox()->isChecked(), ticked);
            QCOMPARE(dialog->FrequencyList()->currentText(), frequency);
            QCOMPARE(dialog->ConnectionList()->currentText(), connection);
            test::SaveScreenshot(dialog, QStringLiteral("news-settings"));
            QTest::mouseClick(dialog->findChild<QPushButton*>("c1"), Qt::LeftButton);
        });
        w.Dialog->EditNewsSettings();
        QCOMPARE(answerer.Seen.size(), 1);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(QString::fromStdString(w.Settings.GetString(settings::Kettrik, keys[i], "")),
                     written[i]);
        }
    }

    void settingsDialogListsAndChoices() {
        Window w(NoScheduledNews);
        w.Open();
        ModalAnswerer answerer([&](QWidget* modal) {
            auto* dialog = qobject_cast<CNewsSettingsDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QStringList frequencies, connections;
            for (int i = 0; i < dialog->FrequencyList()->count(); ++i) {
                frequencies << dialog->FrequencyList()->itemText(i);
            }
            for (int i = 0; i < dialog->ConnectionList()->count(); ++i) {
                connections << dialog->ConnectionList()->itemText(i);
            }
            QCOMPARE(frequencies,
                     (QStringList{"- every launch -", "Daily", "Every 5 days", "Every 10 days",
                                  "Every 30 days", "Every 45 days", "Every 60 days"}));
            QCOMPARE(connections,
                     (QStringList{"none", "Slow (Modem)", "Fast (Cable)", "Fixed (always on)"}));
            QTest::mouseClick(dialog->AutomaticBox(), Qt::LeftButton, {},
                              QPoint(6, dialog->AutomaticBox()->height() / 2)); // the box
            dialog->FrequencyList()->setFocus();
            QTest::keyClick(dialog->FrequencyList(), Qt::Key_Down);
            dialog->ConnectionList()->setFocus();
            QTest::keyClick(dialog->ConnectionList(), Qt::Key_Up);
            const QString button = answerer.Seen.size() == 1 ? "c2" : "c1"; // Cancel, then OK
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        w.Dialog->EditNewsSettings();
        QCOMPARE(w.Settings.GetString(settings::Kettrik, settings::NewsFrequency, "none"),
                 std::string("none"));
        w.Dialog->EditNewsSettings();
        QCOMPARE(w.Settings.GetInt(settings::Kettrik, settings::NewsAuto, -9), 0);
        QCOMPARE(w.Settings.GetInt(settings::Kettrik, settings::NewsFrequency, -9), 3);
        QCOMPARE(w.Settings.GetInt(settings::Kettrik, settings::NewsConnection, -9), 0);
    }
};

int main(int argc, char** argv) {
    const test::PrivateHome home;
    test::StubOpener stub;
    opener = &stub;
    QApplication application(argc, argv);
    NewsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "news_window_test.moc"
