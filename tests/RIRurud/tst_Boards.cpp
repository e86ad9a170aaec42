// The board widgets: clicks on every hot spot, the order click -> layer -> noteChanged -> sound,
// training, the mode buttons, note folding, the training draw, the fallbacks for missing pictures
// and empty lists, and the piano's keys. Runs without the generated pictures (see
// tst_BoardPictures.cpp), so every board here lacks its pictures.
#include "BoardsUnderTest.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/PianoBoard.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using BoardTables::BoardTable;
using BoardsUnderTest::tableOf;
using BoardsUnderTest::withFrettedBoard;

namespace {

// A board whose pictures do not exist, with a list that tests can empty.
class BareBoard : public BoardBase
{
public:
    explicit BareBoard(bool withNotes)
        : BoardBase(QStringLiteral("NoSuchInstrument"))
    {
        if (withNotes) {
            initNotes();
            createLayers();
        }
    }
    void initNotes() override
    {
        layerNames = QStringList{QStringLiteral("C4"), QStringLiteral("Cd4")};
        trainingNotes = {QStringLiteral("C4"), QStringLiteral("C4#")};
    }
    QString positionToNote(int x, int y) const override { return noteInTable(BoardTables::kBanjo, x, y); }
};

// Widget point whose frame point is (x, y) on a board of the given size.
QPoint widgetPoint(int x, int y, const QSize& size)
{
    return QPoint(qCeil(x * size.width() / 800.0), qCeil(y * size.height() / 194.0));
}

} // namespace

class TestBoards : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyCentreAnswersItsNote_data();
    void everyCentreAnswersItsNote();
    void clickLightsThenSignalsThenSounds_data();
    void clickLightsThenSignalsThenSounds();
    void missesAndTrainingClicksDoNothing_data();
    void missesAndTrainingClicksDoNothing();
    void setNoteFoldsIntoTheLayer_data();
    void setNoteFoldsIntoTheLayer();
    void nextNoteDrawsFromTheTrainingNotes_data();
    void nextNoteDrawsFromTheTrainingNotes();
    void modeButtons_data();
    void modeButtons();
    void missingPicturesFallBack();
    void emptyTrainingListAsksNothing();

    void pianoPointsAnswerTheirKeys_data();
    void pianoPointsAnswerTheirKeys();
    void pianoKeysSweepInRisingPitch();
    void pianoSetNoteLightsItsKey_data();
    void pianoSetNoteLightsItsKey();
    void pianoClickLightsThenSignalsThenSounds();

private:
    QStringList m_sounds;
};

void TestBoards::init()
{
    m_sounds.clear();
    NoteName::setSoundHook([this](const QString& path) { m_sounds.append(path); });
}

void TestBoards::cleanup()
{
    NoteName::setSoundHook({});
}

void TestBoards::everyCentreAnswersItsNote_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<int>("width");
    for (const QString& name : BoardsUnderTest::frettedBoards())
        for (int width : {800, 1000, 1237})
            QTest::addRow("%s at %d", qPrintable(name), width) << name << width;
}

// Each centre, pressed on a real widget, answers its own note, except the centres that an earlier
// spot's box covers: the banjo's C5 at the D3 string's last fret under B4, the bass's C4# under D4.
void TestBoards::everyCentreAnswersItsNote()
{
    QFETCH(QString, board);
    QFETCH(int, width);
    withFrettedBoard(board, [&](auto& w) {
        w.show();
        w.resize(width, 400);
        const QSize size = w.size();
        QVERIFY(size.height() < 400);   // the height follows the width

        const QMap<QString, QString> shadowed = {{"Banjo 755,102", "B4"}, {"Bass 719,59", "D4"}};
        const BoardTable& table = tableOf(board);
        for (std::size_t i = 0; i < table.spotCount; ++i) {
            const BoardTables::HotSpot& spot = table.spots[i];
            const QString key = QStringLiteral("%1 %2,%3").arg(board).arg(spot.x).arg(spot.y);
            const QPoint p = widgetPoint(spot.x, spot.y, size);
            QCOMPARE(w.positionToNote(p.x(), p.y()), shadowed.value(key, QString::fromLatin1(spot.note)));
        }
    });
}

void TestBoards::clickLightsThenSignalsThenSounds_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QPoint>("frame");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<QString>("natural");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("sound");
    QTest::newRow("banjo C6 at the last fret") << "Banjo" << QPoint(757, 65) << "C6" << "C6" << 0 << "banjo_440_C6.mp3";
    QTest::newRow("banjo natural") << "Banjo" << QPoint(599, 100) << "E4" << "E4" << 0 << "banjo_440_E4.mp3";
    QTest::newRow("balalaika") << "Balalaika" << QPoint(228, 101) << "Fd4" << "F4" << 1
                               << "balalaika_440_Fd4.mp3";
    QTest::newRow("mandolin") << "Mandolin" << QPoint(231, 112) << "Gd3" << "G3" << 1 << "mandolin_440_Gd3.mp3";
    QTest::newRow("guitar E2") << "Guitar" << QPoint(104, 129) << "E2" << "E2" << 0 << "guitar_440_E2.mp3";
    QTest::newRow("guitar F2#") << "Guitar" << QPoint(180, 135) << "Fd2" << "F2" << 1 << "guitar_440_Fd2.mp3";
    QTest::newRow("ukulele") << "Ukulele" << QPoint(148, 119) << "Cd4" << "C4" << 1 << "ukulele_440_Cd4.mp3";
    QTest::newRow("violin") << "Violin" << QPoint(185, 114) << "G3" << "G3" << 0 << "violin_440_G3.mp3";
    QTest::newRow("bass") << "Bass" << QPoint(759, 58) << "Dd4" << "D4" << 1 << "bass_440_Dd4.mp3";
}

void TestBoards::clickLightsThenSignalsThenSounds()
{
    QFETCH(QString, board);
    QFETCH(QPoint, frame);
    QFETCH(QString, layer);
    QFETCH(QString, natural);
    QFETCH(int, accidental);
    QFETCH(QString, sound);
    withFrettedBoard(board, [&](auto& w) {
        w.show();
        w.resize(1000, 300);
        QStringList events;
        connect(&w, &std::decay_t<decltype(w)>::noteChanged, this, [&](const QString& note, int acc) {
            events << QStringLiteral("signal %1 %2 layer %3 sounds %4")
                          .arg(note).arg(acc).arg(w.currentLayerName()).arg(m_sounds.size());
        });
        QTest::mouseClick(&w, Qt::LeftButton, {}, widgetPoint(frame.x(), frame.y(), w.size()));
        // The layer is already lit when the signal goes out, and the sound comes after it.
        QCOMPARE(events, QStringList(QStringLiteral("signal %1 %2 layer %3 sounds 0").arg(natural).arg(accidental).arg(layer)));
        QCOMPARE(m_sounds, QStringList(REZirudid::App::theApp()->bundleResourcePath() + sound));
        QCOMPARE(w.currentLayerPath(), QStringLiteral(":/%1_%2@2x.png").arg(board, layer));
    });
}

void TestBoards::missesAndTrainingClicksDoNothing_data()
{
    QTest::addColumn<QString>("board");
    QTest::newRow("a board base") << "Banjo";
    QTest::newRow("the guitar") << "Guitar";
}

void TestBoards::missesAndTrainingClicksDoNothing()
{
    QFETCH(QString, board);
    withFrettedBoard(board, [&](auto& w) {
        w.show();
        w.resize(800, 300);
        QSignalSpy spy(&w, &std::decay_t<decltype(w)>::noteChanged);
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(spy.count(), 0);
        QVERIFY(w.currentLayerName().isEmpty());

        const BoardTables::HotSpot& spot = tableOf(board).spots[0];
        w.slotSetInTraining(true);
        QVERIFY(w.isInTraining());
        QTest::mouseClick(&w, Qt::LeftButton, {}, widgetPoint(spot.x, spot.y, w.size()));
        QCOMPARE(spy.count(), 0);
        QVERIFY(w.currentLayerName().isEmpty());
        QVERIFY(m_sounds.isEmpty());

        w.slotSetInTraining(false);
        QTest::mouseClick(&w, Qt::LeftButton, {}, widgetPoint(spot.x, spot.y, w.size()));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(m_sounds.size(), 1);
    });
}

void TestBoards::setNoteFoldsIntoTheLayer_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("B4 sharp is C5") << "Balalaika" << "B4" << 1 << "C5" << true;
    QTest::newRow("D5 flat is Cd5") << "Balalaika" << "D5" << -1 << "Cd5" << true;
    QTest::newRow("E4 natural") << "Balalaika" << "E4" << 0 << "E4" << true;
    QTest::newRow("empty clears") << "Balalaika" << "" << 1 << "" << false;
    QTest::newRow("a note the board lacks") << "Balalaika" << "C2" << 0 << "C2" << false;
    QTest::newRow("guitar: B3 sharp is C4") << "Guitar" << "B3" << 1 << "C4" << true;
    QTest::newRow("guitar: C4 flat is B3") << "Guitar" << "C4" << -1 << "B3" << true;
    QTest::newRow("guitar: below E2") << "Guitar" << "E2" << -1 << "Dd2" << false;
}

void TestBoards::setNoteFoldsIntoTheLayer()
{
    QFETCH(QString, board);
    QFETCH(QString, note);
    QFETCH(int, accidental);
    QFETCH(QString, layer);
    QFETCH(bool, drawn);
    withFrettedBoard(board, [&](auto& w) {
        w.slotSetNote("A4", 0);
        QSignalSpy spy(&w, &std::decay_t<decltype(w)>::noteChanged);
        w.slotSetNote(note, accidental);
        QCOMPARE(w.currentLayerName(), layer);
        QCOMPARE(!w.currentLayerPath().isEmpty(), drawn);
        QCOMPARE(spy.count(), 0);   // the staff's notes are not sent back
    });
}

void TestBoards::nextNoteDrawsFromTheTrainingNotes_data()
{
    QTest::addColumn<QString>("board");
    QTest::newRow("a board base") << "Mandolin";
    QTest::newRow("the guitar") << "Guitar";
}

void TestBoards::nextNoteDrawsFromTheTrainingNotes()
{
    QFETCH(QString, board);
    withFrettedBoard(board, [&](auto& w) {
        QSignalSpy spy(&w, &std::decay_t<decltype(w)>::noteChanged);
        QSet<QString> seen;
        for (int i = 0; i < 40; ++i) {
            w.slotNextNote();
            QCOMPARE(spy.count(), i + 1);
            const QString natural = spy.last().at(0).toString();
            const int accidental = spy.last().at(1).toInt();
            const QString boardForm = natural + (accidental ? "#" : "");
            QVERIFY2(w.trainingNoteList().contains(boardForm), qPrintable(boardForm));
            // The note asked is the one lit.
            QCOMPARE(w.currentLayerName(), NoteName::layerFromBoard(boardForm));
            seen.insert(boardForm);
            QTest::qWait(3);   // the generator is reseeded from the clock's milliseconds
        }
        QVERIFY2(seen.size() > 5, "training should not keep asking the same few notes");
        QVERIFY(m_sounds.isEmpty());   // asking sounds nothing
    });
}

void TestBoards::modeButtons_data()
{
    QTest::addColumn<QString>("board");
    QTest::newRow("a board base") << "Banjo";
    QTest::newRow("the guitar") << "Guitar";
}

void TestBoards::modeButtons()
{
    QFETCH(QString, board);
    withFrettedBoard(board, [&](auto& w) {
        using Board = std::decay_t<decltype(w)>;
        QPushButton* find = w.findNoteButton();
        QPushButton* train = w.trainingButton();
        QCOMPARE(find->objectName(), QStringLiteral("DualButtonLeft"));
        QCOMPARE(train->objectName(), QStringLiteral("DualButtonRight"));
        QCOMPARE(find->text(), QStringLiteral("Find Note"));
        QCOMPARE(train->text(), QStringLiteral("Training"));
        QVERIFY(find->isChecked() && !train->isChecked());
        QVERIFY(find->isFlat() && find->isCheckable() && train->isFlat() && train->isCheckable());

        QSignalSpy training(&w, &Board::traningSelected);
        QSignalSpy finding(&w, &Board::findNoteSelected);
        w.resize(1000, 300);
        w.show();
        QTest::mouseClick(train, Qt::LeftButton);
        QCOMPARE(training.count(), 1);
        QVERIFY(train->isChecked() && !find->isChecked());
        QVERIFY(!w.isInTraining());   // the buttons never switch training themselves
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(finding.count(), 1);
        QVERIFY(find->isChecked());
        w.setTrainButtonChecked();
        QVERIFY(train->isChecked() && !find->isChecked());
        QCOMPARE(training.count(), 1);   // checking from code emits nothing

        // The two buttons sit side by side, centred at the top.
        QVERIFY(find->geometry().right() < train->geometry().left());
        const int centre = (find->geometry().left() + train->geometry().right()) / 2;
        QVERIFY(qAbs(centre - w.width() / 2) <= 2);
        QVERIFY(find->geometry().top() <= 6);
    });
}

// Without their pictures (as everywhere in this test) boards keep the proportions of the 800 x 194
// frame, and training on an overlay that does not exist shows nothing instead of failing.
void TestBoards::missingPicturesFallBack()
{
    BareBoard bare(true);
    GuitarBoard guitar;
    PianoBoard piano;
    for (QWidget* board : {static_cast<QWidget*>(&bare), static_cast<QWidget*>(&guitar), static_cast<QWidget*>(&piano)}) {
        board->show();
        board->resize(1000, 600);
        QCOMPARE(board->height(), 242);
    }
    QCOMPARE(bare.pictureAspectRatio(), 800.0f / 194.0f);
    QCOMPARE(guitar.pictureAspectRatio(), 800.0f / 194.0f);
    QCOMPARE(piano.pictureAspectRatio(), 800.0f / 194.0f);
    QVERIFY(bare.width() >= 800);
    guitar.resize(600, 600);
    QCOMPARE(guitar.width(), 600);   // the guitar sets no minimum size

    bare.slotSetNote("C4", 1);
    QCOMPARE(bare.currentLayerPath(), QStringLiteral(":/NoSuchInstrument_Cd4@2x.png"));
    guitar.slotSetNote("C4", 1);
    QCOMPARE(guitar.currentLayerPath(), QStringLiteral(":/Guitar_Cd4@2x.png"));
    bare.slotSetInTraining(true);
    guitar.slotSetInTraining(true);
    QVERIFY(!bare.grab().toImage().isNull());
    QVERIFY(!guitar.grab().toImage().isNull());
    QPixmap zeroWide(0, 10);
    for (const QPixmap& layer : {QPixmap(), zeroWide}) {
        QVERIFY(bare.doSingleNote(layer).isNull());
        QVERIFY(guitar.doSingleNote(layer).isNull());
    }
}

void TestBoards::emptyTrainingListAsksNothing()
{
    BareBoard board(false);
    QSignalSpy spy(&board, &BoardBase::noteChanged);
    board.slotNextNote();
    QCOMPARE(spy.count(), 0);
    QVERIFY(board.currentLayerName().isEmpty());
}

void TestBoards::pianoPointsAnswerTheirKeys_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QString>("note");
    // At 1600 x 388, twice the frame: the lower band holds white keys only, the upper band black
    // keys first and the upper parts of the white keys after them.
    QTest::newRow("E4 lower band") << QPoint(800, 240) << "E4";
    QTest::newRow("E4 upper part") << QPoint(800, 200) << "E4";
    QTest::newRow("C4#") << QPoint(742, 200) << "C4#";
    QTest::newRow("D4# over the upper part of D4") << QPoint(764, 200) << "D4#";
    QTest::newRow("B4 over C5") << QPoint(920, 200) << "B4";
    QTest::newRow("band edge: lower") << QPoint(220, 224) << "G1";
    QTest::newRow("band edge: upper") << QPoint(220, 223) << "F1#";
    QTest::newRow("first key") << QPoint(40, 240) << "A0";
    QTest::newRow("left of the first key") << QPoint(39, 240) << QString();
    QTest::newRow("last key") << QPoint(1579, 240) << "C8";
    QTest::newRow("right of the last key") << QPoint(1580, 240) << QString();
    QTest::newRow("gap between A0# and B0") << QPoint(85, 200) << QString();
    QTest::newRow("above the keys") << QPoint(200, 100) << QString();
    QTest::newRow("below the keys") << QPoint(200, 280) << QString();
}

void TestBoards::pianoPointsAnswerTheirKeys()
{
    QFETCH(QPoint, point);
    QFETCH(QString, note);
    PianoBoard piano;
    piano.show();
    piano.resize(1600, 800);
    QCOMPARE(piano.size(), QSize(1600, 388));
    QCOMPARE(piano.positionToNote(point.x(), point.y()), note);
}

// Swept across, each band meets its keys one after the other in rising pitch: the 52 white keys
// in the lower band without a gap from 20 to 790, the 36 black keys in the upper band.
void TestBoards::pianoKeysSweepInRisingPitch()
{
    PianoBoard piano;
    piano.show();
    piano.resize(3200, 1600);
    QCOMPARE(piano.height(), 776);
    const auto midi = [](const QString& note) {
        static const QString letters = QStringLiteral("C D EF G A B");
        return 12 * (note.at(1).digitValue() + 1) + letters.indexOf(note.at(0)) + (note.endsWith('#') ? 1 : 0);
    };
    for (const int y : {500, 400}) {   // frame rows 125 (lower band) and 100 (upper band)
        QStringList met;
        int first = -1, last = -1;
        for (int x = 0; x < piano.width(); ++x) {
            const QString note = piano.positionToNote(x, y);
            if (note.isEmpty())
                continue;
            if (first < 0)
                first = x;
            last = x;
            if (met.isEmpty() || met.last() != note)
                met << note;
        }
        QStringList keys = met;
        if (y == 400) {
            keys.clear();
            for (const QString& note : met) {
                if (note.endsWith('#'))
                    keys << note;
            }
        }
        QCOMPARE(keys.size(), y == 500 ? 52 : 36);
        for (int i = 1; i < keys.size(); ++i)
            QVERIFY2(midi(keys.at(i)) > midi(keys.at(i - 1)), qPrintable(keys.at(i - 1) + " " + keys.at(i)));
        if (y == 500) {
            QCOMPARE(keys.first(), QStringLiteral("A0"));
            QCOMPARE(keys.last(), QStringLiteral("C8"));
            QCOMPARE(first, 80);          // frame 20
            QCOMPARE(last, 3159);         // up to, not including, frame 790
        }
    }
}

void TestBoards::pianoSetNoteLightsItsKey_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("A0") << "A0" << 0 << "1" << true;
    QTest::newRow("A0 sharp") << "A0" << 1 << "2" << true;
    QTest::newRow("B0") << "B0" << 0 << "3" << true;
    QTest::newRow("C1") << "C1" << 0 << "4" << true;
    QTest::newRow("C4") << "C4" << 0 << "40" << true;
    QTest::newRow("A4") << "A4" << 0 << "49" << true;
    QTest::newRow("C8") << "C8" << 0 << "88" << true;
    QTest::newRow("C4 sharp") << "C4" << 1 << "41" << true;
    QTest::newRow("D4 flat") << "D4" << -1 << "41" << true;
    QTest::newRow("B3 sharp is C4") << "B3" << 1 << "40" << true;
    QTest::newRow("E4 sharp is F4") << "E4" << 1 << "45" << true;
    QTest::newRow("below A0 lights A0") << "A0" << -1 << "1" << true;
    QTest::newRow("G0 lights A0") << "G0" << 0 << "1" << true;
    QTest::newRow("above C8 lights nothing") << "D8" << 0 << "90" << false;
    // An accidental counts by its sign only.
    QTest::newRow("accidental 5") << "C4" << 5 << "41" << true;
    QTest::newRow("accidental -3") << "D4" << -3 << "41" << true;
    // Names that are no notes light nothing rather than a wrong key.
    QTest::newRow("empty") << "" << 0 << "" << false;
    QTest::newRow("one character") << "C" << 0 << "" << false;
    QTest::newRow("lower-case letter") << "c4" << 0 << "" << false;
    QTest::newRow("no such letter") << "H4" << 1 << "" << false;
}

void TestBoards::pianoSetNoteLightsItsKey()
{
    QFETCH(QString, note);
    QFETCH(int, accidental);
    QFETCH(QString, key);
    QFETCH(bool, drawn);
    PianoBoard piano;
    piano.slotSetNote("E2", 0);
    QSignalSpy spy(&piano, &PianoBoard::noteChanged);
    piano.slotSetNote(note, accidental);
    QCOMPARE(piano.currentLayerName(), key);
    QCOMPARE(piano.currentLayerPath(), drawn ? QStringLiteral(":/Piano_%1.png").arg(key) : QString());
    QCOMPARE(spy.count(), 0);
}

void TestBoards::pianoClickLightsThenSignalsThenSounds()
{
    PianoBoard piano;
    piano.show();
    piano.resize(1600, 388);
    QStringList events;
    connect(&piano, &PianoBoard::noteChanged, this, [&](const QString& note, int accidental) {
        events << QStringLiteral("%1 %2 key %3 sounds %4").arg(note).arg(accidental).arg(piano.currentLayerName()).arg(m_sounds.size());
    });
    QTest::mouseClick(&piano, Qt::LeftButton, {}, QPoint(742, 200));
    QCOMPARE(events, QStringList("C4 1 key 41 sounds 0"));
    QCOMPARE(m_sounds, QStringList(REZirudid::App::theApp()->bundleResourcePath() + "piano_440_Cd4.mp3"));
    // A press between the keys changes nothing.
    QTest::mouseClick(&piano, Qt::LeftButton, {}, QPoint(85, 200));
    QCOMPARE(events.size(), 1);
    QCOMPARE(piano.currentLayerName(), QStringLiteral("41"));
}

TONARIX_APP_TEST_MAIN(TestBoards)
#include "tst_Boards.moc"
