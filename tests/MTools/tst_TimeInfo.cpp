#include "MTools/TimeInfo.h"
#include "TestMain.h"

class TestTimeInfo : public QObject
{
    Q_OBJECT
private slots:
    void converts_data()
    {
        QTest::addColumn<qint64>("msecs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << qint64(0) << "00:00:00.000";
        QTest::newRow("milliseconds are dropped, not rounded") << qint64(1999) << "00:00:01.000";
        QTest::newRow("minutes and seconds") << qint64(754321) << "00:12:34.000";
        QTest::newRow("hours") << qint64(3600000 * 5 + 60000 * 7 + 8999) << "05:07:08.000";
        QTest::newRow("last second of the day") << qint64(86399999) << "23:59:59.000";
        QTest::newRow("a whole day is invalid") << qint64(86400000) << "";
        QTest::newRow("more than a day is invalid") << qint64(90000000) << "";
        QTest::newRow("negative is invalid") << qint64(-1000) << "";
        QTest::newRow("negative hours are invalid") << qint64(-3600000) << "";
        QTest::newRow("under a second below zero is invalid too") << qint64(-999) << "";
        QTest::newRow("huge count does not wrap") << qint64(3600000) * ((qint64(1) << 32) + 1) << "";
    }
    void converts()
    {
        QFETCH(qint64, msecs);
        QFETCH(QString, expected);
        const QTime time = MTools::TimeInfo::msecsToTime(msecs);
        QCOMPARE(time.isValid(), !expected.isEmpty());
        QCOMPARE(time.toString("hh:mm:ss.zzz"), expected);
    }
};

TONARIX_TEST_MAIN(TestTimeInfo)
#include "tst_TimeInfo.moc"
