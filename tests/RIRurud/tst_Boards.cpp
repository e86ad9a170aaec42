// The board widgets: clicks on every hot spot, the order click -> layer -> noteChanged -> sound,
// training, the mode buttons, note folding, the training draw, and the fallbacks for missing
// pictures and empty lists. Runs without the generated pictures (see tst_BoardPictures.cpp).
#include "RIRurud/BalalaikaBoard.h"
#include "RIRurud/BanjoBoard.h"
#include "RIRurud/MandolinBoard.h"
#include "RIRurud/NoteName.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using BoardTables::BoardTable;

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

BoardBase* makeBoard(const QString& name)
{
    if (name == "Banjo")
        return new BanjoBoard;
    if (name == "Balalaika")
        return new BalalaikaBoard;
    return new MandolinBoard;
}

const BoardTable& tableOf(const QString& name)
{
    if (name == "Banjo")
        return BoardTables::kBanjo;
    if (name == "Balalaika")
        return BoardTables::kBalalaika;
    return BoardTables::kMandolin;
}

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
    void missesAndTrainingClicksDoNothing();
    void setNoteFoldsIntoTheLayer_data();
    void setNoteFoldsIntoTheLayer();
    void layersAndListsFollowTheTable_data();
    void layersAndListsFollowTheTable();
    void nextNoteDrawsFromTheTrainingNotes();
    void modeButtons();
    void missingPicturesFallBack();
    void emptyTrainingListAsksNothing();

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
    for (const char* name : {"Balalaika", "Banjo", "Mandolin"})
        for (int width : {800, 1000, 1237})
            QTest::addRow("%s at %d", name, width) << QString(name) << width;
}

// Each centre, pressed on a real widget, answers its own note, except the few centres that an
// earlier spot's box covers (the banjo's top frets put two notes at one place).
void TestBoards::everyCentreAnswersItsNote()
{
    QFETCH(QString, board);
    QFETCH(int, width);
    QScopedPointer<BoardBase> w(makeBoard(board));
    w->show();
    w->resize(width, 400);
    const QSize size = w->size();
    QVERIFY(size.height() < 400);   // the height follows the width

    const QMap<QString, QString> shadowed = {
        {"Banjo 755,102", "B4"}, {"Banjo 730,77", "G5"}, {"Banjo 705,65", "A5"}, {"Banjo 758,78", "A5"}};
    const BoardTable& table = tableOf(board);
    int checked = 0;
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        const BoardTables::HotSpot& spot = table.spots[i];
        const QString key = QStringLiteral("%1 %2,%3").arg(board).arg(spot.x).arg(spot.y);
        const QPoint p = widgetPoint(spot.x, spot.y, size);
        const QString expected = shadowed.value(key, QString::fromLatin1(spot.note));
        QCOMPARE(w->positionToNote(p.x(), p.y()), expected);
        ++checked;
    }
    QCOMPARE(checked, int(table.spotCount));
}

void TestBoards::clickLightsThenSignalsThenSounds_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QPoint>("frame");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<QString>("natural");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("sound");
    QTest::newRow("banjo sharp") << "Banjo" << QPoint(757, 65) << "Cd6" << "C6" << 1 << "banjo_440_Cd6.mp3";
    QTest::newRow("banjo natural") << "Banjo" << QPoint(599, 100) << "E4" << "E4" << 0 << "banjo_440_E4.mp3";
    QTest::newRow("balalaika") << "Balalaika" << QPoint(228, 101) << "Fd4" << "F4" << 1
                               << "balalaika_440_Fd4.mp3";
    QTest::newRow("mandolin") << "Mandolin" << QPoint(231, 112) << "Gd3" << "G3" << 1 << "mandolin_440_Gd3.mp3";
}

void TestBoards::clickLightsThenSignalsThenSounds()
{
    QFETCH(QString, board);
    QFETCH(QPoint, frame);
    QFETCH(QString, layer);
    QFETCH(QString, natural);
    QFETCH(int, accidental);
    QFETCH(QString, sound);
    QScopedPointer<BoardBase> w(makeBoard(board));
    w->show();
    w->resize(1000, 300);
    QStringList events;
    connect(w.data(), &BoardBase::noteChanged, this, [&](const QString& note, int acc) {
        events << QStringLiteral("signal %1 %2 layer %3 sounds %4")
                      .arg(note).arg(acc).arg(w->currentLayerName()).arg(m_sounds.size());
    });
    QTest::mouseClick(w.data(), Qt::LeftButton, {}, widgetPoint(frame.x(), frame.y(), w->size()));
    // The layer is already lit when the signal goes out, and the sound comes after it.
    QCOMPARE(events, QStringList(QStringLiteral("signal %1 %2 layer %3 sounds 0").arg(natural).arg(accidental).arg(layer)));
    QCOMPARE(m_sounds, QStringList(REZirudid::App::theApp()->bundleResourcePath() + sound));
    QCOMPARE(w->currentLayerPath(), QStringLiteral(":/%1_%2@2x.png").arg(board, layer));
}

void TestBoards::missesAndTrainingClicksDoNothing()
{
    BanjoBoard board;
    board.show();
    board.resize(800, 300);
    QSignalSpy spy(&board, &BoardBase::noteChanged);
    QTest::mouseClick(&board, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(spy.count(), 0);
    QVERIFY(board.currentLayerName().isEmpty());

    board.slotSetInTraining(true);
    QVERIFY(board.isInTraining());
    QTest::mouseClick(&board, Qt::LeftButton, {}, widgetPoint(80, 99, board.size()));
    QCOMPARE(spy.count(), 0);
    QVERIFY(board.currentLayerName().isEmpty());
    QVERIFY(m_sounds.isEmpty());

    board.slotSetInTraining(false);
    QTest::mouseClick(&board, Qt::LeftButton, {}, widgetPoint(80, 99, board.size()));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m_sounds.size(), 1);
}

void TestBoards::setNoteFoldsIntoTheLayer_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("B4 sharp is C5") << "B4" << 1 << "C5" << true;
    QTest::newRow("D5 flat is Cd5") << "D5" << -1 << "Cd5" << true;
    QTest::newRow("E4 natural") << "E4" << 0 << "E4" << true;
    QTest::newRow("empty clears") << "" << 1 << "" << false;
    QTest::newRow("a note the board lacks") << "C2" << 0 << "C2" << false;
}

void TestBoards::setNoteFoldsIntoTheLayer()
{
    QFETCH(QString, note);
    QFETCH(int, accidental);
    QFETCH(QString, layer);
    QFETCH(bool, drawn);
    BalalaikaBoard board;
    board.slotSetNote("A4", 0);
    QSignalSpy spy(&board, &BoardBase::noteChanged);
    board.slotSetNote(note, accidental);
    QCOMPARE(board.currentLayerName(), layer);
    QCOMPARE(!board.currentLayerPath().isEmpty(), drawn);
    QCOMPARE(spy.count(), 0);   // the staff's notes are not sent back
}

void TestBoards::layersAndListsFollowTheTable_data()
{
    QTest::addColumn<QString>("board");
    for (const char* name : {"Balalaika", "Banjo", "Mandolin"})
        QTest::newRow(name) << QString(name);
}

void TestBoards::layersAndListsFollowTheTable()
{
    QFETCH(QString, board);
    QScopedPointer<BoardBase> w(makeBoard(board));
    const BoardTable& table = tableOf(board);
    QCOMPARE(w->instrument(), board);
    QCOMPARE(w->layerNameList().size(), int(table.layerCount));
    QCOMPARE(w->trainingNoteList().size(), int(table.trainingCount));
    QCOMPARE(w->layerMap().size(), int(table.layerCount));
    for (const QString& layer : w->layerNameList())
        QCOMPARE(w->layerMap().value(QStringLiteral(":/%1_%2.png").arg(board, layer)),
                 QStringLiteral(":/%1_%2@2x.png").arg(board, layer));
}

void TestBoards::nextNoteDrawsFromTheTrainingNotes()
{
    MandolinBoard board;
    QSignalSpy spy(&board, &BoardBase::noteChanged);
    QSet<QString> seen;
    for (int i = 0; i < 40; ++i) {
        board.slotNextNote();
        QCOMPARE(spy.count(), i + 1);
        const QString natural = spy.last().at(0).toString();
        const int accidental = spy.last().at(1).toInt();
        const QString boardForm = natural + (accidental ? "#" : "");
        QVERIFY2(board.trainingNoteList().contains(boardForm), qPrintable(boardForm));
        // The note asked is the one lit.
        QCOMPARE(board.currentLayerName(), NoteName::layerFromBoard(boardForm));
        seen.insert(boardForm);
        QTest::qWait(3);   // the generator is reseeded from the clock's milliseconds
    }
    QVERIFY2(seen.size() > 5, "training should not keep asking the same few notes");
    QVERIFY(m_sounds.isEmpty());   // asking sounds nothing
}

void TestBoards::modeButtons()
{
    BanjoBoard board;
    QPushButton* find = board.findNoteButton();
    QPushButton* train = board.trainingButton();
    QCOMPARE(find->objectName(), QStringLiteral("DualButtonLeft"));
    QCOMPARE(train->objectName(), QStringLiteral("DualButtonRight"));
    QCOMPARE(find->text(), QStringLiteral("Find Note"));
    QCOMPARE(train->text(), QStringLiteral("Training"));
    QVERIFY(find->isChecked() && !train->isChecked());
    QVERIFY(find->isFlat() && find->isCheckable() && train->isFlat() && train->isCheckable());

    QSignalSpy training(&board, &BoardBase::traningSelected);
    QSignalSpy finding(&board, &BoardBase::findNoteSelected);
    board.resize(1000, 300);
    board.show();
    QTest::mouseClick(train, Qt::LeftButton);
    QCOMPARE(training.count(), 1);
    QVERIFY(train->isChecked() && !find->isChecked());
    QVERIFY(!board.isInTraining());   // the buttons never switch training themselves
    QTest::mouseClick(find, Qt::LeftButton);
    QCOMPARE(finding.count(), 1);
    QVERIFY(find->isChecked());
    board.setTrainButtonChecked();
    QVERIFY(train->isChecked() && !find->isChecked());
    QCOMPARE(training.count(), 1);   // checking from code emits nothing

    // The two buttons sit side by side, centred at the top.
    QVERIFY(find->geometry().right() < train->geometry().left());
    const int centre = (find->geometry().left() + train->geometry().right()) / 2;
    QVERIFY(qAbs(centre - board.width() / 2) <= 2);
    QVERIFY(find->geometry().top() <= 6);
}

void TestBoards::missingPicturesFallBack()
{
    BareBoard board(true);
    // No picture: the board keeps the proportions of its 800 x 194 frame.
    QCOMPARE(board.pictureAspectRatio(), 800.0f / 194.0f);
    board.show();
    board.resize(1000, 600);
    QVERIFY(qAbs(board.height() - 242) <= 1);
    QVERIFY(board.width() >= 800);

    // Training with an overlay that does not exist paints nothing and does not crash.
    board.slotSetNote("C4", 1);
    QCOMPARE(board.currentLayerPath(), QStringLiteral(":/NoSuchInstrument_Cd4@2x.png"));
    board.slotSetInTraining(true);
    const QImage shot = board.grab().toImage();
    QVERIFY(!shot.isNull());
    QVERIFY(board.doSingleNote(QPixmap()).isNull());
    QPixmap zeroWide(0, 10);
    QVERIFY(board.doSingleNote(zeroWide).isNull());
}

void TestBoards::emptyTrainingListAsksNothing()
{
    BareBoard board(false);
    QSignalSpy spy(&board, &BoardBase::noteChanged);
    board.slotNextNote();
    QCOMPARE(spy.count(), 0);
    QVERIFY(board.currentLayerName().isEmpty());
}

TONARIX_APP_TEST_MAIN(TestBoards)
#include "tst_Boards.moc"
