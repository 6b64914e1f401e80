// The banner as the window and its user meet it: the built-in movie, the mouse, and news
// fetched over HTTP from a server on 127.0.0.1 that the test runs.
#include <QSignalSpy>
#include <QtTest>

#include "gui/gui_test_support.h"
#include "gui/loopback_http_server.h"
#include "news/banner_flash.h"
#include "news/builtin_banner_movie.h"
#include "news/news_movie.h"

using namespace kettrik;
using namespace std::chrono_literals;

namespace {

const QByteArray News = "title: Kettrik Orvalene 5.02 is out\n"
                        "text: Three new kick drums.\n"
                        "link: http://www.kettrik.example/news/502\n"
                        "onload: SetNewsFrequency 3\n"
                        "onclick: SetLastNewsClick {Button}\n";

// Records what reaches it, with the "Button" variable as it was at that moment.
class RecordingMovie : public BannerMovie {
public:
    struct Event {
        MovieMouse Kind;
        Qt::MouseButton Button;
        QString ButtonVariable;
    };
    QList<Event>* Events;
    explicit RecordingMovie(QList<Event>* events) : Events(events) {}
    void Start(MovieHost&) override {}
    bool Tick(MovieHost&) override { return false; }
    void Paint(QPainter&) const override {}
    bool ButtonAt(QPointF) const override { return true; }
    MouseAnswer Mouse(MovieHost& host, MovieMouse kind, Qt::MouseButton button, QPointF) override {
        Events->append({kind, button, host.Variable(QStringLiteral("Button"))});
        return MouseAnswer::Handled;
    }
};

// The banner at its size in the window, shown.
struct Banner {
    Banner() {
        Widget.resize(504, 63);
        Widget.SetPageOpener([this](const QString& address) { Opened << address; });
        Widget.show();
    }
    QPoint At(QPointF stage) const {
        const double scale = Widget.width() / MovieStage.width();
        return QPoint(int(stage.x() * scale),
                      int((Widget.height() - MovieStage.height() * scale) / 2 + stage.y() * scale));
    }
    CBannerFlash Widget;
    QStringList Opened;
};

QList<QStringList> Commands(const QSignalSpy& spy) {
    QList<QStringList> commands;
    for (const QList<QVariant>& call : spy) {
        commands << QStringList{call.at(0).toString(), call.at(1).toString()};
    }
    return commands;
}

} // namespace

class BannerFlashTest : public QObject {
    Q_OBJECT
private slots:
    void builtInMoviePlaysOnceAndHoldsItsLastFrame() {
        Banner banner;
        QSignalSpy commands(&banner.Widget, &CBannerFlash::FSCommand);
        auto* movie = static_cast<BuiltinBannerMovie*>(banner.Widget.Movie(0));
        QVERIFY(movie != nullptr);
        QTRY_COMPARE(commands.size(), 2);
        QCOMPARE(Commands(commands),
                 (QList<QStringList>{{"showmenu", "false"}, {"allowscale", "false"}}));
        test::SaveScreenshot(&banner.Widget, QStringLiteral("banner-first-frame"));

        // Its buttons do nothing before the last frame.
        QTest::mouseClick(&banner.Widget, Qt::LeftButton, {}, banner.At({570, 25}));
        QVERIFY(banner.Opened.isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(movie->Frame(), BuiltinBannerMovie::FrameCount - 1, 8000);
        QTest::qWait(300);
        QCOMPARE(movie->Frame(), BuiltinBannerMovie::FrameCount - 1);
        QCOMPARE(commands.size(), 2);
        test::SaveScreenshot(&banner.Widget, QStringLiteral("banner-last-frame"));

        QTest::mouseClick(&banner.Widget, Qt::LeftButton, {}, banner.At({570, 25}));
        QTest::mouseClick(&banner.Widget, Qt::RightButton, {}, banner.At({570, 59}));
        QTest::mouseClick(&banner.Widget, Qt::LeftButton, {}, banner.At({300, 40}));
        QCOMPARE(banner.Opened,
                 (QStringList{"http://www.kettrik.example", "http://music.quorr.example"}));
    }

    void mouseButtonsReachMoviesAsTheLeftOne_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("variable");
        QTest::newRow("left click") << Qt::LeftButton << false << "L";
        QTest::newRow("right click") << Qt::RightButton << false << "R";
        QTest::newRow("left double-click") << Qt::LeftButton << true << "L";
        QTest::newRow("right double-click") << Qt::RightButton << true << "R";
    }
    void mouseButtonsReachMoviesAsTheLeftOne() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, doubleClick);
        QFETCH(QString, variable);
        Banner banner;
        QList<RecordingMovie::Event> events;
        banner.Widget.SetMovie(2, std::make_unique<RecordingMovie>(&events));
        const QPoint point = banner.At({300, 40});
        // A double-click is a click, then the double-click and its release.
        QTest::mouseClick(&banner.Widget, button, {}, point);
        if (doubleClick) {
            QTest::mouseDClick(&banner.Widget, button, {}, point);
            QTest::mouseRelease(&banner.Widget, button, {}, point);
        }
        QVERIFY(!events.isEmpty());
        for (const RecordingMovie::Event& event : events) {
            QCOMPARE(event.Button, Qt::LeftButton);
            QCOMPARE(event.ButtonVariable, variable);
        }
        const bool sawDoubleClick =
            std::any_of(events.begin(), events.end(),
                        [](const auto& event) { return event.Kind == MovieMouse::DoubleClick; });
        QCOMPARE(sawDoubleClick, doubleClick);
        QCOMPARE(events.front().Kind, MovieMouse::Press);
        QCOMPARE(events.back().Kind, MovieMouse::Release);
        QCOMPARE(banner.Widget.GetVariable("Button"), variable);

        // Other buttons pass unchanged and leave the variable alone.
        events.clear();
        QTest::mouseClick(&banner.Widget, Qt::MiddleButton, {}, point);
        QCOMPARE(events.front().Button, Qt::MiddleButton);
        QCOMPARE(banner.Widget.GetVariable("Button"), variable);
    }

    void newsArrivesOverHttpAndAnswersClicks() {
        test::LoopbackHttpServer server;
        server.Serve("/kettrik/news/", News);
        Banner banner;
        QSignalSpy commands(&banner.Widget, &CBannerFlash::FSCommand);
        banner.Widget.LoadMovie(1, server.Url("/kettrik/news/"));
        QTRY_VERIFY(banner.Widget.Movie(1) != nullptr);
        const auto* news = dynamic_cast<const NewsMovie*>(banner.Widget.Movie(1));
        QVERIFY(news != nullptr);
        QCOMPARE(QString::fromStdString(news->News().Title),
                 QString("Kettrik Orvalene 5.02 is out"));
        QVERIFY(Commands(commands).contains(QStringList{"SetNewsFrequency", "3"}));
        QTest::qWait(700); // slid into place
        test::SaveScreenshot(&banner.Widget, QStringLiteral("banner-news"));

        commands.clear();
        QTest::mouseClick(&banner.Widget, Qt::RightButton, {}, banner.At({300, 40}));
        QCOMPARE(Commands(commands), (QList<QStringList>{{"SetLastNewsClick", "R"}}));
        QCOMPARE(banner.Opened, QStringList{"http://www.kettrik.example/news/502"});

        // The cross takes the news away and the banner is back underneath.
        QTest::mouseClick(&banner.Widget, Qt::LeftButton, {},
                          banner.At(NewsMovie::CloseBox().center()));
        QCOMPARE(banner.Widget.Movie(1), nullptr);
        QVERIFY(banner.Widget.Movie(0) != nullptr);
    }

    void badNewsShowsNothingAndNeverHangs_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("server that never answers") << "silent";
        QTest::newRow("answer larger than the limit") << "flood";
        QTest::newRow("length header over the limit") << "huge";
        QTest::newRow("not found") << "missing";
        QTest::newRow("a web page, not news") << "html";
        QTest::newRow("binary") << "binary";
        QTest::newRow("no server on the port") << "refused";
        QTest::newRow("not a web address") << "file";
    }
    void badNewsShowsNothingAndNeverHangs() {
        QFETCH(QString, kind);
        test::LoopbackHttpServer server;
        server.Silent("/silent");
        server.Flood("/flood", 4 * 1024 * 1024);
        server.Serve("/huge", News + QByteArray(300 * 1024, '#'));
        server.Serve("/html", "<!DOCTYPE html>\n<html><body>title: no</body></html>\n");
        server.Serve("/binary", "title: x\n" + QByteArray(10, '\0'));
        Banner banner;
        banner.Widget.SetLoadLimits({600ms, 256 * 1024});
        QString address = server.Url("/" + kind);
        if (kind == "refused") {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            address = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
        } else if (kind == "file") {
            address = QStringLiteral("file:///etc/hostname");
        }
        QElapsedTimer clock;
        clock.start();
        banner.Widget.LoadMovie(1, address);
        QTRY_VERIFY_WITH_TIMEOUT(!banner.Widget.IsLoading(1), 5000);
        QVERIFY(clock.elapsed() < 3000);
        QTest::qWait(50);
        QCOMPARE(banner.Widget.Movie(1), nullptr);
        QVERIFY(banner.Widget.Movie(0) != nullptr);
    }

    void emptyAddressUnloadsAndEndsTheFetch() {
        test::LoopbackHttpServer server;
        server.Serve("/news", News);
        Banner banner;
        banner.Widget.LoadMovie(1, server.Url("/news"));
        QTRY_VERIFY(banner.Widget.Movie(1) != nullptr);
        banner.Widget.LoadMovie(1, QString());
        QCOMPARE(banner.Widget.Movie(1), nullptr);

        banner.Widget.LoadMovie(1, server.Url("/news"));
        banner.Widget.LoadMovie(1, QString());
        QTest::qWait(300);
        QCOMPARE(banner.Widget.Movie(1), nullptr);
    }
};

int main(int argc, char** argv) {
    const test::PrivateHome home;
    QApplication application(argc, argv);
    BannerFlashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "banner_flash_test.moc"
