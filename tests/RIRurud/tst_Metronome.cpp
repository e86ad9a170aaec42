// The metronome page: the tempo table and its buttons, the beats menu and the beat row, the faces
// and sounds of every switch state over whole bars (through the sound hook), the timer's period,
// the face centred at every size and redrawn whole after a resize, and the pictures and style sheet
// in the resources.
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeBeats.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/MetronomeMainPage.h"
#include "RIRurud/MetronomeStyle.h"
#include "RIRurud/NoteName.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
namespace MF = RIRurud::MetronomeFaces;

namespace {

int shownMarks(MetronomeBeats* beats)
{
    int n = 0;
    for (int i = 0; i < MetronomeBeats::kMarks; ++i)
        n += beats->mark(i)->isVisibleTo(beats) ? 1 : 0;
    return n;
}

int litMark(MetronomeBeats* beats)
{
    int lit = -1;
    for (int i = 0; i < MetronomeBeats::kMarks; ++i) {
        if (beats->mark(i)->isEnabled())
            lit = lit == -1 ? i : -2;
    }
    return lit;
}

} // namespace

class TestMetronome : public QObject
{
    Q_OBJECT

private:
    QStringList m_sounds;

    QString soundsSince(int from) const
    {
        QStringList names;
        for (int i = from; i < m_sounds.size(); ++i)
            names << QFileInfo(m_sounds.at(i)).fileName();
        return names.join(' ');
    }

private slots:
    void init()
    {
        m_sounds.clear();
        NoteName::setSoundHook([this](const QString& path) { m_sounds.append(path); });
    }
    void cleanup() { NoteName::setSoundHook({}); }

    void tempoFollowsButtonsAndRows_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("tempo");
        QTest::addColumn<QString>("row");
        QTest::newRow("minus at the floor") << 38 << "dec" << 38 << "Largo";
        QTest::newRow("plus at the ceiling") << 208 << "inc" << 208 << "Presto";
        QTest::newRow("plus into the next row") << 56 << "inc" << 57 << "Adagio";
        QTest::newRow("minus into the row below keeps the tempo") << 57 << "dec" << 56 << "Largo";
        QTest::newRow("minus inside a row") << 100 << "dec" << 99 << "Moderato";
        QTest::newRow("plus from Allegro") << 168 << "inc" << 169 << "Presto";
        QTest::newRow("choosing Presto") << 38 << "Presto" << 169 << "Presto";
        QTest::newRow("choosing Largo") << 200 << "Largo" << 38 << "Largo";
        QTest::newRow("choosing Andante") << 38 << "Andante" << 71 << "Andante";
    }
    void tempoFollowsButtonsAndRows()
    {
        QFETCH(int, start);
        QFETCH(QString, action);
        QFETCH(int, tempo);
        QFETCH(QString, row);
        Metronome metronome;
        MetronomeControls* c = metronome.controls();
        c->setSelectListItem(start);
        c->setInterval(start);
        QSignalSpy changed(c, &MetronomeControls::intervalChanged);
        if (action == "inc") {
            c->tempoIncButton()->click();
        } else if (action == "dec") {
            c->tempoDecButton()->click();
        } else {
            const QList<QTreeWidgetItem*> items = c->tempoList()->findItems(action, Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            c->tempoList()->setCurrentItem(items.first());
        }
        QCOMPARE(c->interval(), tempo);
        QCOMPARE(c->tempoLabel()->text(), QString::number(tempo));
        QCOMPARE(c->tempoList()->currentItem()->text(0), row);
        // Every press restarts the timer, also at the bounds.
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).toInt(), tempo);
        QCOMPARE(metronome.timer().interval(), Metronome::periodMs(tempo));
    }

    void timerPeriodAndRestart()
    {
        Metronome metronome;
        QCOMPARE(metronome.timer().timerType(), Qt::PreciseTimer);
        QVERIFY(metronome.timer().isActive());
        QCOMPARE(metronome.timer().interval(), 1578);
        QTest::qWait(300);
        QElapsedTimer since;
        since.start();
        metronome.controls()->setInterval(208);
        // The next tick comes one whole new period after the change (however long this took).
        const int remaining = metronome.timer().remainingTime();
        QVERIFY(remaining <= 288 && remaining >= 288 - since.elapsed() - 1);
        // A label that is not a number falls back to 1000 beats per minute.
        metronome.controls()->tempoLabel()->setText(QStringLiteral("-"));
        QCOMPARE(metronome.controls()->interval(), 1000);
    }

    void beatsMenuAndMarks()
    {
        Metronome metronome;
        MetronomeControls* c = metronome.controls();
        MetronomeBeats* beats = metronome.beats();
        QCOMPARE(c->beatsMenu()->actions().size(), 12);
        QCOMPARE(c->beatsAction(1), nullptr);
        QCOMPARE(shownMarks(beats), 4);
        QCOMPARE(litMark(beats), -1);

        QSignalSpy changed(c, &MetronomeControls::beatsCountChanged);
        const QList<std::pair<int, int>> choices = {{0, 0}, {12, 12}, {3, 3}};
        for (const auto& choice : choices) {
            QAction* action = c->beatsAction(choice.first);
            // A desktop may decorate menu texts with accelerators.
            action->setText("&" + action->text());
            action->trigger();
            QCOMPARE(c->beatsCount(), choice.first);
            QCOMPARE(c->beatsCombo()->text(), QString::number(choice.first));
            QCOMPARE(changed.last().at(0).toInt(), choice.first);
            QCOMPARE(shownMarks(beats), choice.second);
        }
        beats->setCurrentBeat(2);
        for (int outside : {12, 13, -1, -12})
            beats->setCurrentBeat(outside);
        QCOMPARE(litMark(beats), 2);
        beats->slotSetBeats(13);
        QCOMPARE(beats->count(), 3);
    }

    // Nine ticks at four beats a bar: the bell on ticks 1, 5 and 9, the face of the state table,
    // the lit mark following the beat.
    void barsInEverySwitchState_data()
    {
        QTest::addColumn<bool>("visual");
        QTest::addColumn<bool>("audible");
        QTest::addColumn<QVector<int>>("faces");
        QTest::addColumn<QString>("sounds");
        const QString ticking = "bell.wav tick.wav tick.wav tick.wav bell.wav tick.wav tick.wav tick.wav bell.wav";
        const int B = MF::Beat, L = MF::BaseEyesLeft, R = MF::EyesRight;
        const int MB = MF::MuteBeat, ML = MF::MuteEyesLeft, MR = MF::MuteEyesRight;
        const int C = MF::EyesClosed, CM = MF::EyesClosedMute;
        QTest::newRow("visual and audible") << true << true << QVector<int>{B, L, R, L, B, L, R, L, B} << ticking;
        QTest::newRow("visual only") << true << false << QVector<int>{MB, ML, MR, ML, MB, ML, MR, ML, MB} << "";
        QTest::newRow("audible only") << false << true << QVector<int>(9, C) << ticking;
        QTest::newRow("neither") << false << false << QVector<int>(9, CM) << "";
    }
    void barsInEverySwitchState()
    {
        QFETCH(bool, visual);
        QFETCH(bool, audible);
        QFETCH(QVector<int>, faces);
        QFETCH(QString, sounds);
        Metronome metronome;
        metronome.controls()->visibleTickButton()->setChecked(!visual);
        metronome.controls()->audibleTickButton()->setChecked(!audible);
        QCOMPARE(metronome.beats()->isVisibleTo(&metronome), visual);
        QCOMPARE(soundsSince(0), QString());
        for (int i = 0; i < faces.size(); ++i) {
            metronome.slotTick();
            QCOMPARE(metronome.currentPicture(), faces.at(i));
            QCOMPARE(litMark(metronome.beats()), i % 4);
        }
        QCOMPARE(soundsSince(0), sounds);
        QVERIFY(m_sounds.isEmpty() || m_sounds.first().startsWith(metronome.soundDirectory()));
    }

    void noBarWithZeroBeats()
    {
        Metronome metronome;
        metronome.controls()->beatsAction(0)->trigger();
        QVector<int> faces;
        for (int i = 0; i < 6; ++i) {
            metronome.slotTick();
            faces << metronome.currentPicture();
        }
        QCOMPARE(soundsSince(0), QString("tick.wav tick.wav tick.wav tick.wav tick.wav tick.wav"));
        QCOMPARE(faces, (QVector<int>{MF::EyesRight, MF::BaseEyesLeft, MF::EyesRight, MF::BaseEyesLeft,
                                      MF::EyesRight, MF::BaseEyesLeft}));
    }

    void changingTheBarStartsTheNextOne()
    {
        Metronome metronome;
        metronome.controls()->beatsAction(6)->trigger();
        for (int i = 0; i < 5; ++i)
            metronome.slotTick();
        metronome.controls()->beatsAction(3)->trigger();
        const int before = m_sounds.size();
        metronome.slotTick();
        QCOMPARE(soundsSince(before), QString("bell.wav"));
        QCOMPARE(litMark(metronome.beats()), 0);
    }

    // A switch turned when the bar is complete shows the coming downbeat's face, sounds nothing,
    // moves no mark; the downbeat that follows rings.
    void switchAtTheEndOfABarKeepsTheDownbeat()
    {
        Metronome metronome;
        for (int i = 0; i < 4; ++i)
            metronome.slotTick();
        QCOMPARE(litMark(metronome.beats()), 3);
        const int before = m_sounds.size();
        metronome.controls()->audibleTickButton()->setChecked(true);
        QCOMPARE(metronome.currentPicture(), int(MF::MuteBeat));
        metronome.controls()->audibleTickButton()->setChecked(false);
        QCOMPARE(metronome.currentPicture(), int(MF::Beat));
        metronome.controls()->visibleTickButton()->setChecked(true);
        QCOMPARE(metronome.currentPicture(), int(MF::EyesClosed));
        metronome.controls()->visibleTickButton()->setChecked(false);
        QCOMPARE(soundsSince(before), QString());
        QCOMPARE(litMark(metronome.beats()), 3);
        metronome.slotTick();
        QCOMPARE(soundsSince(before), QString("bell.wav"));
        QCOMPARE(metronome.currentPicture(), int(MF::Beat));
        QCOMPARE(litMark(metronome.beats()), 0);
    }

    // The face is centred in frames wider and taller than it, at device pixel ratio 1.
    void faceIsCentred_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide") << QSize(900, 420);
        QTest::newRow("tall") << QSize(420, 700);
    }
    void faceIsCentred()
    {
        QFETCH(QSize, size);
        Metronome metronome;
        metronome.controls()->hide();
        metronome.beats()->hide();
        metronome.resize(size);
        const QImage shot = metronome.grab().toImage();
        QCOMPARE(shot.devicePixelRatio(), 1.0);
        int left = shot.width(), right = -1, top = shot.height(), bottom = -1;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (qGray(shot.pixel(x, y)) > 24) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                    top = qMin(top, y);
                    bottom = qMax(bottom, y);
                }
            }
        }
        QVERIFY2(right > left, "nothing drawn");
        // Left and right the face is symmetric; above and below it leaves a little more room at
        // the top (above the metronome's cap) than at the bottom (below its plinth).
        const int leftMargin = left, rightMargin = shot.width() - 1 - right;
        const int topMargin = top, bottomMargin = shot.height() - 1 - bottom;
        const double faceHeight = qMin<double>(size.height(), size.width() * 0.75);
        QVERIFY2(qAbs(leftMargin - rightMargin) <= 2, qPrintable(QString("margins %1 and %2").arg(leftMargin).arg(rightMargin)));
        QVERIFY2(qAbs(topMargin - bottomMargin) <= faceHeight * 0.1,
                 qPrintable(QString("margins %1 and %2").arg(topMargin).arg(bottomMargin)));
    }

    // After a resize the face shown over the base face is made again at the new size: the frame
    // looks the same as one that was that size all along.
    void faceFollowsAResize()
    {
        Metronome resized, direct;
        resized.resize(500, 380);
        direct.resize(800, 620);
        for (Metronome* m : {&resized, &direct}) {
            m->grab();
            for (int i = 0; i < 3; ++i)
                m->slotTick();
            QCOMPARE(m->currentPicture(), int(MF::EyesRight));
        }
        resized.resize(800, 620);
        QCOMPARE(resized.grab().toImage(), direct.grab().toImage());
    }

    // However small the window is made, the controls and the beat row keep the room they need,
    // also when the beats menu widens the row.
    void pageKeepsItsContentsWhole()
    {
        MetronomeMainPage page;
        page.setStyleSheet(metronomeStyleSheet());
        page.resize(200, 200);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        Metronome* m = page.metronome();
        auto whole = [](QWidget* w) {
            const QSize need = w->minimumSizeHint();
            return w->width() >= need.width() && w->height() >= need.height();
        };
        QTRY_VERIFY(whole(m->controls()) && whole(m->beats()));
        QVERIFY(m->controls()->geometry().top() >= m->beats()->geometry().bottom());
        m->controls()->beatsAction(12)->trigger();
        QTRY_VERIFY(whole(m->controls()) && whole(m->beats()));
    }

    void picturesAndSheetExist()
    {
        const QImage base(QString::fromLatin1(MF::kFaces[MF::BaseEyesLeft].resource));
        QCOMPARE(base.size(), QSize(MF::kCanvasWidth, MF::kCanvasHeight));
        QVERIFY(!base.hasAlphaChannel());
        for (const MF::Face& face : MF::kFaces) {
            const QImage image(QString::fromLatin1(face.resource));
            QVERIFY2(image.size() == base.size(), face.resource);
            if (&face != &MF::kFaces[MF::BaseEyesLeft]) {
                // An overlay: clear outside the face plate and the pendulum window.
                QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
                QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() - 1)), 0);
                QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 4)), 255);
            }
        }
        const QString sheet = metronomeStyleSheet();
        const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
        int urls = 0;
        for (auto it = url.globalMatch(sheet); it.hasNext(); ++urls) {
            const QString path = it.next().captured(1);
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
            QVERIFY2(!QImage(path.left(path.lastIndexOf('.')) + "@2x" + path.mid(path.lastIndexOf('.'))).isNull(), qPrintable(path));
        }
        QVERIFY(urls > 0);
        const QStringList names = {"MetronomeControls", "VisibleTickButton", "AudiableTickButton", "BeatButton", "BeatCombo",
                                   "TempoLabel", "TempoIncButton", "TempoDecButton", "MetronomeBeats", "Beat", "MetronomeMainPage"};
        MetronomeMainPage page;
        for (const QString& name : names) {
            QVERIFY2(sheet.contains("#" + name + "{"), qPrintable(name));
            QVERIFY2(page.objectName() == name || page.findChild<QWidget*>(name), qPrintable(name));
        }
    }
};

TONARIX_APP_TEST_MAIN(TestMetronome)
#include "tst_Metronome.moc"
