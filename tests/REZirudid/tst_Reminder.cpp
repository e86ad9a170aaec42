#include "DialogAnswerer.h"
#include "TestMain.h"
#include "UrlCatcher.h"

#include "REZirudid/App.h"
#include "REZirudid/Links.h"
#include "REZirudid/Reminder.h"

using REZirudid::App;
namespace Reminder = REZirudid::Reminder;

Q_DECLARE_METATYPE(QList<int>)

class TestReminder : public QObject
{
    Q_OBJECT
private slots:
    void dueOnMultiplesOfThePositiveInterval_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("due");
        QTest::newRow("first start of four") << true << 1 << 4 << false;
        QTest::newRow("third start of four") << true << 3 << 4 << false;
        QTest::newRow("fourth start") << true << 4 << 4 << true;
        QTest::newRow("fifth start") << true << 5 << 4 << false;
        QTest::newRow("eighth start") << true << 8 << 4 << true;
        QTest::newRow("every start") << true << 7 << 1 << true;
        QTest::newRow("switched off") << false << 4 << 4 << false;
        QTest::newRow("interval 0 never reminds") << true << 4 << 0 << false;
        QTest::newRow("interval 0 with counter 0") << true << 0 << 0 << false;
        QTest::newRow("negative interval never reminds") << true << 4 << -2 << false;
    }
    void dueOnMultiplesOfThePositiveInterval()
    {
        QFETCH(bool, enabled);
        QFETCH(int, counter);
        QFETCH(int, interval);
        QFETCH(bool, due);
        QCOMPARE(Reminder::isDue(enabled, counter, interval), due);
    }

    void kindsOfferedByTheMask_data()
    {
        QTest::addColumn<int>("kinds");
        QTest::addColumn<bool>("store");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("rate") << 1 << false << QList<int>{Reminder::Rate};
        QTest::newRow("share") << 2 << true << QList<int>{Reminder::Share};
        QTest::newRow("join") << 4 << true << QList<int>{Reminder::Join};
        QTest::newRow("share or join") << 6 << false << QList<int>{Reminder::Share, Reminder::Join};
        QTest::newRow("all three") << 7 << true
                                   << QList<int>{Reminder::Rate, Reminder::Share, Reminder::Join};
        QTest::newRow("8 in a store build rates") << 8 << true << QList<int>{Reminder::Rate};
        QTest::newRow("8 elsewhere shares") << 8 << false << QList<int>{Reminder::Share};
        QTest::newRow("8 and rate in a store build: once") << 9 << true << QList<int>{Reminder::Rate};
        QTest::newRow("8 and share elsewhere: once") << 10 << false << QList<int>{Reminder::Share};
        QTest::newRow("8 and join elsewhere") << 12 << false
                                              << QList<int>{Reminder::Share, Reminder::Join};
        QTest::newRow("nothing") << 0 << true << QList<int>{};
        QTest::newRow("unknown bits only") << 16 << true << QList<int>{};
    }
    void kindsOfferedByTheMask()
    {
        QFETCH(int, kinds);
        QFETCH(bool, store);
        QFETCH(QList<int>, expected);
        QList<int> got;
        for (Reminder::Kind kind : Reminder::candidates(kinds, store))
            got << kind;
        QCOMPARE(got, expected);
        QCOMPARE(int(Reminder::choose(kinds, store, 0)),
                 expected.isEmpty() ? int(Reminder::None) : expected.first());
    }

    void severalKindsAreEquallyLikely()
    {
        QMap<int, int> count;
        for (unsigned pick = 0; pick < 3000; ++pick)
            ++count[Reminder::choose(7, true, pick)];
        QCOMPARE(count.value(Reminder::Rate), 1000);
        QCOMPARE(count.value(Reminder::Share), 1000);
        QCOMPARE(count.value(Reminder::Join), 1000);
        // Large draws must not go negative or out of range.
        QCOMPARE(int(Reminder::choose(6, false, 0xFFFFFFFFu)), int(Reminder::Join));
    }

    // The application object after the delay: which dialog it shows and how the counter moves.
    void applicationShowsTheDueReminder_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("counter");   // -1: no counter stored yet (default 1)
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("kinds");
        QTest::addColumn<QString>("dialog"); // class of the dialog shown, "" for none
        QTest::addColumn<int>("stored");
        QTest::newRow("first start ever, interval 4") << true << -1 << 4 << 1 << "" << 2;
        QTest::newRow("first start ever, interval 1 rates")
            << true << -1 << 1 << 1 << "REZirudid::MessageBox" << 2;
        QTest::newRow("fourth start rates") << true << 4 << 4 << 1 << "REZirudid::MessageBox" << 5;
        QTest::newRow("fourth start shares") << true << 4 << 4 << 2 << "REZirudid::TellDialog" << 5;
        QTest::newRow("fourth start joins") << true << 4 << 4 << 4 << "REZirudid::JoinDialog" << 5;
        // This test program carries no "independent" marker: a store build.
        QTest::newRow("kind 8 follows the build")
            << true << 12 << 4 << 8
            << (App::isAppStore() ? "REZirudid::MessageBox" : "REZirudid::TellDialog") << 13;
        QTest::newRow("not due") << true << 6 << 4 << 2 << "" << 7;
        QTest::newRow("switched off still counts") << false << 4 << 4 << 2 << "" << 5;
        QTest::newRow("interval 0 never reminds") << true << 4 << 0 << 2 << "" << 5;
        QTest::newRow("negative interval never reminds") << true << 3 << -3 << 2 << "" << 4;
        QTest::newRow("the count stops at its bound") << true << 2147483647 << 4 << 2 << "" << 2147483647;
    }
    void applicationShowsTheDueReminder()
    {
        QFETCH(bool, enabled);
        QFETCH(int, counter);
        QFETCH(int, interval);
        QFETCH(int, kinds);
        QFETCH(QString, dialog);
        QFETCH(int, stored);
        App* app = App::theApp();
        app->setReminderDelay(0);
        if (counter < 0) {
            // A first start: neither switch nor counter stored; the defaults must remind.
            QVERIFY(enabled);
            app->removeSettingsValue(REZirudid::SettingsKeys::autoReminder());
            app->removeSettingsValue(REZirudid::SettingsKeys::autoReminderCount());
        } else {
            app->setSettingsValue(REZirudid::SettingsKeys::autoReminder(), enabled);
            app->setSettingsValue(REZirudid::SettingsKeys::autoReminderCount(), counter);
        }

        TestSupport::UrlCatcher catcher;
        TestSupport::DialogAnswerer answer(QDialog::Rejected);
        // The start is counted only once its reminder has been shown.
        int countedWhileShown = 0;
        answer.setInspector([&](QWidget*) {
            countedWhileShown = app->settingsValue(REZirudid::SettingsKeys::autoReminderCount(), 1).toInt();
        });
        app->callReminder(interval, kinds);
        QCOMPARE(app->reminderInterval(), interval);
        QTRY_COMPARE(app->settingsValue(REZirudid::SettingsKeys::autoReminderCount()).toInt(), stored);
        if (dialog.isEmpty()) {
            QTest::qWait(150);
            QVERIFY2(!answer.answered(), qPrintable(answer.dialogClass()));
        } else {
            QVERIFY(answer.wait());
            QCOMPARE(answer.dialogClass(), dialog);
            QCOMPARE(countedWhileShown, stored - 1);
        }
        QCOMPARE(app->settingsValue(REZirudid::SettingsKeys::autoReminderCount()).toInt(), stored);
        QCOMPARE(catcher.count(), 0);
    }

    void acceptingTheRateReminderOpensTheStorePage()
    {
        App* app = App::theApp();
        app->setAppId("id99");
        app->setReminderDelay(0);
        app->setSettingsValue(REZirudid::SettingsKeys::autoReminder(), true);
        app->setSettingsValue(REZirudid::SettingsKeys::autoReminderCount(), 4);
        TestSupport::UrlCatcher catcher;
        TestSupport::DialogAnswerer answer("Yes");
        app->callReminder(4, 1);
        QVERIFY(answer.wait());
        QVERIFY(answer.buttonFound());
        QCOMPARE(answer.buttonTexts(), (QStringList{"Yes", "No"}));
        QTRY_COMPARE(catcher.count(), 1);
        QCOMPARE(catcher.last().toString(),
                 REZirudid::Links::storeEndpoint() + "/app/tonarixtest/id99?ls=1&mt=12");
    }
};

TONARIX_APP_TEST_MAIN(TestReminder)
#include "tst_Reminder.moc"
