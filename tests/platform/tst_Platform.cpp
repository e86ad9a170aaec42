#include "TestMain.h"
#include "UrlCatcher.h"

#include "platform/App_mac.h"
#include "platform/Os.h"

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void singletonsAreCreatedOnce()
    {
        QVERIFY(Os::instance());
        QCOMPARE(Os::instance(), Os::instance());
        QVERIFY(App_mac::instance());
        QCOMPARE(App_mac::instance(), App_mac::instance());
    }

    void linksGoToTheDesktopHandler_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("web") << "https://vantrel.example/apps";
        QTest::newRow("plain http with query") << "http://vantrel.example/join?app=X&social=email";
        QTest::newRow("mail") << "mailto:support@vantrel.example?subject=Hello%20there";
    }
    void linksGoToTheDesktopHandler()
    {
        QFETCH(QString, url);
        TestSupport::UrlCatcher catcher;
        QVERIFY(Os::instance()->openUrl(url));
        QCOMPARE(catcher.urlStrings(), QStringList{url});
    }

    void dockHookNeverFiresByItself()
    {
        QSignalSpy spy(App_mac::instance(), &App_mac::dockClicked);
        App_mac::instance()->installDockHandler();
        QTest::qWait(200);
        QCOMPARE(spy.count(), 0);
        QVERIFY(App_mac::instance()->backingScaleFactor() >= 1.0);
    }
};

TONARIX_TEST_MAIN(TestPlatform)
#include "tst_Platform.moc"
