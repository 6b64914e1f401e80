#include <QtTest>

#include "gui/gui_test_support.h"
#include "news/news_schedule.h"
#include "platform/settings_store.h"

using namespace kettrik;

class NewsScheduleTest : public QObject {
    Q_OBJECT

private slots:
    void schedule_data() {
        QTest::addColumn<QString>("ini"); // the settings before the start, "" for none
        QTest::addColumn<bool>("answer"); // what the user answers if asked
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("fetched");
        const qint64 now = 1'800'000'000;
        const QString last = QStringLiteral("LastNewsDate=%1\n");
        QTest::newRow("first start: fetched without a question") << "" << false << false << true;
        QTest::newRow("again within a day: nothing")
            << last.arg(now - 3600) << true << false << false;
        QTest::newRow("a day later: fetched") << last.arg(now - 86400) << false << false << true;
        QTest::newRow("clock turned back: nothing")
            << last.arg(now + 100000) << true << false << false;
        QTest::newRow("not automatic, answered No")
            << "NewsAuto=0\n" + last.arg(now - 86400) << false << true << false;
        QTest::newRow("not automatic, answered Yes")
            << "NewsAuto=0\n" + last.arg(now - 86400) << true << true << true;
        QTest::newRow("every launch, not automatic: no question")
            << "NewsAuto=0\nNewsFrequency=0\n" + last.arg(now) << false << false << true;
        QTest::newRow("value 7 is 90 days")
            << "NewsFrequency=7\n" + last.arg(now - 89 * 86400) << true << false << false;
        QTest::newRow("above 7: due at every start, asked unless automatic")
            << "NewsAuto=0\nNewsFrequency=9\n" + last.arg(now) << false << true << false;
        QTest::newRow("stored -1 (from the dialog): every start without a question")
            << "NewsAuto=0\nNewsFrequency=-1\n" + last.arg(now) << false << false << true;
    }

    void schedule() {
        QFETCH(QString, ini);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, fetched);
        const qint64 now = 1'800'000'000;
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        if (!ini.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(("[Kettrik]\n" + ini).toUtf8());
        }
        SettingsStore settings(path.toStdString());
        const std::int32_t lastBefore = settings.GetInt("Kettrik", "LastNewsDate", 0);
        bool wasAsked = false;
        bool wasFetched = false;
        CheckNewsSchedule(
            settings, now,
            [&] {
                wasAsked = true;
                return answer;
            },
            [&] { wasFetched = true; });
        QCOMPARE(wasAsked, asked);
        QCOMPARE(wasFetched, fetched);
        // Only a scheduled fetch moves the date; a refusal leaves it for the next start.
        QCOMPARE(settings.GetInt("Kettrik", "LastNewsDate", 0),
                 fetched ? std::int32_t(now) : lastBefore);
    }
};

int main(int argc, char** argv) {
    const kettrik::test::PrivateHome home;
    QCoreApplication application(argc, argv);
    NewsScheduleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "news_schedule_test.moc"
