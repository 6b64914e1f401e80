// The news format: what is news, what is kept of it, and that nothing in it can make the
// parser misbehave.
#include <QtTest>

#include "news/news_document.h"

using namespace kettrik;

class NewsDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void readsEveryKey() {
        const auto news = ParseNewsDocument("# a comment\r\n"
                                            "title:  Kick pack \r\n"
                                            "\r\n"
                                            "text: one: with a colon\r\n"
                                            "text:\r\n"
                                            "link: https://www.kettrik.example/a?b=c\r\n"
                                            "onload: SetNewsFrequency 3\r\n"
                                            "onclick: SetNewsUrl http://x.example/a b\r\n"
                                            "onclick: showmenu\r\n"
                                            "colour: blue\r\n"
                                            "title: second title is ignored");
        QVERIFY(news.has_value());
        QCOMPARE(news->Title, std::string("Kick pack"));
        QCOMPARE(news->Text, (std::vector<std::string>{"one: with a colon", ""}));
        QCOMPARE(news->Link, std::string("https://www.kettrik.example/a?b=c"));
        QVERIFY(news->OnLoad == (std::vector<NewsCommand>{{"SetNewsFrequency", "3"}}));
        QVERIFY(news->OnClick == (std::vector<NewsCommand>{{"SetNewsUrl", "http://x.example/a b"},
                                                           {"showmenu", ""}}));
    }

    void refusesWhatIsNotNews_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no title") << QByteArray("text: hello\n");
        QTest::newRow("empty title") << QByteArray("title:   \n");
        QTest::newRow("a web page") << QByteArray("<html><head><title>x</title></head></html>");
        QTest::newRow("NUL byte") << QByteArray("title: x\n\0", 10);
        QTest::newRow("too large") << "title: x\n" + QByteArray(256 * 1024, 'a');
    }
    void refusesWhatIsNotNews() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ParseNewsDocument(std::string_view(bytes.constData(), bytes.size())));
    }

    void keepsItBounded() {
        std::string text = "title: " + std::string(5000, 't') + "\n";
        for (int i = 0; i < 20; ++i) {
            text += "text: line\nonload: SetA 1\nonclick: SetB 2\n";
        }
        text += "link: javascript:alert(1)\nlink: file:///etc/passwd\n";
        const auto news = ParseNewsDocument(text);
        QVERIFY(news.has_value());
        QCOMPARE(news->Title.size(), MaxNewsValueChars);
        QCOMPARE(news->Text.size(), MaxNewsTextLines);
        QCOMPARE(news->OnLoad.size(), MaxNewsCommands);
        QCOMPARE(news->OnClick.size(), MaxNewsCommands);
        QCOMPARE(news->Link, std::string());
    }
};

QTEST_GUILESS_MAIN(NewsDocumentTest)
#include "news_document_test.moc"
