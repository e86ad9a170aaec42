// The tuner window heard at the sound server: a click on a string button, with a concert pitch
// chosen in the explorer's menu, sounds that string at that pitch. One string of each family of
// instruments, at the lowest and the highest pitch of the menu.

#include "Pitch.h"
#include "SinkCapture.h"

#include "RIRurud/_Tuner/TuneButton.h"
#include "RIRurud/_Tuner/TunerBasePage.h"
#include "RIRurud/_Tuner/TunersCommonPanel.h"
#include "RIRurud/_Tuner/TunersExplorer.h"
#include "RIRurud/_Tuner/TunersMainPage.h"
#include "TestMain.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace RIRurud;
using TestAudio::SinkCapture;

class TestTunerSound : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestAudio::PrivateSink> m_sink;
    std::unique_ptr<TunersMainPage> m_window;

private slots:
    void initTestCase()
    {
        TONARIX_CREATE_PRIVATE_SINK(m_sink);
        m_window = std::make_unique<TunersMainPage>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_sink.reset();
    }

    void stringSoundsAtTheConcertPitch_data()
    {
        QTest::addColumn<QString>("instrument");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("hzAt440");
        QTest::addColumn<int>("concertPitch");
        const struct
        {
            const char* family;
            const char* instrument;
            int key;
            double hz;
        } strings[] = {
            {"bowed", "Violin", 2, 440.0},                // A4
            {"guitar", "Guitar", 1, 110.0},               // A2
            {"bass", "BassGuitar", 2, 55.0},              // A1
            {"folk lute", "Balalaika", 0, 329.6276},      // E4
            {"banjo", "Banjo", 0, 391.9954},              // G4, the short string
        };
        for (const auto& s : strings) {
            for (int pitch : {415, 460})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2 at %3").arg(s.family, s.instrument).arg(pitch)))
                    << QString::fromLatin1(s.instrument) << s.key << s.hz << pitch;
        }
    }
    void stringSoundsAtTheConcertPitch()
    {
        QFETCH(QString, instrument);
        QFETCH(int, key);
        QFETCH(double, hzAt440);
        QFETCH(int, concertPitch);
        TunersExplorer* explorer = m_window->explorer();
        QTest::mouseClick(explorer->findChild<QPushButton*>(instrument + "Button"), Qt::LeftButton);
        for (QAction* action : explorer->commonPanel()->pitchButton()->menu()->actions()) {
            if (action->data().toInt() == concertPitch)
                action->trigger();
        }
        auto* page = static_cast<TunerBasePage*>(m_window->stack()->currentWidget());

        SinkCapture capture;
        QVERIFY(capture.start(*m_sink));
        const qint64 from = capture.frames();
        QTest::mouseClick(page->button(key), Qt::LeftButton);
        QVERIFY(capture.waitForFrames(from + qint64(SinkCapture::rate * 1.2), 6000));
        const qint64 first = capture.firstLoudFrame(from, 0.003f);
        QVERIFY2(first >= 0, "nothing was heard");

        // Half a second after the attack, left channel (a slow build may hear the attack late).
        const qint64 start = first + SinkCapture::rate / 6;
        QVERIFY(capture.waitForFrames(start + SinkCapture::rate / 2, 6000));
        std::vector<float> left;
        for (qint64 f = start; f < start + SinkCapture::rate / 2; ++f)
            left.push_back(capture.samples()[size_t(2 * f)]);
        const double expected = hzAt440 * concertPitch / 440.0;
        const double heard = TestSupport::pitch(left.data(), left.size(), SinkCapture::rate, expected);
        const double cents = 1200.0 * std::log2(heard / expected);
        // The neighbouring concert pitches of the menu lie 77 cents and more away from these two.
        QVERIFY2(heard > 0 && std::abs(cents) < 10,
                 qPrintable(QStringLiteral("heard %1 Hz for %2 Hz (%3 cents)").arg(heard).arg(expected).arg(cents)));
        capture.stop();
        QTest::qWait(900);   // let the tone fade before the next one
    }
};

TONARIX_APP_TEST_MAIN(TestTunerSound)
#include "tst_TunerSound.moc"
