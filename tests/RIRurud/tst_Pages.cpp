// The instrument finder pages: the staff and the board wired both ways, the training loop through
// the real board and decorated staff, the mode switching with its refusal while training runs,
// the shop each page adds, and the staff showing every note a board sends at every height. The
// eight pages run through the same cases; the piano's has no training.

#include "DialogAnswerer.h"
#include "REZirudid/Label.h"
#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/BalalaikaBoard.h"
#include "RIRurud/BalalaikaShop.h"
#include "RIRurud/BalalaikaTonarix.h"
#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoBoard.h"
#include "RIRurud/BanjoShop.h"
#include "RIRurud/BanjoTonarix.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BassZevezerMainPage.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/GuitarBoard.h"
#include "RIRurud/GuitarZevezerMainPage.h"
#include "RIRurud/MandolinBoard.h"
#include "RIRurud/MandolinShop.h"
#include "RIRurud/MandolinTonarix.h"
#include "RIRurud/MandolinTonarixMainPage.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/NotesLernStatistic.h"
#include "RIRurud/NotesTrainerWidget.h"
#include "RIRurud/NotesWidget.h"
#include "RIRurud/PianoBoard.h"
#include "RIRurud/PianoZevezerMainPage.h"
#include "RIRurud/SidePictureLabel.h"
#include "RIRurud/TrainerKeys.h"
#include "RIRurud/UkuleleZevezerMainPage.h"
#include "RIRurud/ViolinZevezerMainPage.h"
#include "TestMain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

using namespace RIRurud;

class TestPages : public QObject
{
    Q_OBJECT

private slots:
    void pageIsBuiltFromItsRow_data();
    void pageIsBuiltFromItsRow();
    void sidePicturesCoverTheirLabels_data();
    void sidePicturesCoverTheirLabels();
    void addShopMenuAddsTheInstrumentsShop_data();
    void addShopMenuAddsTheInstrumentsShop();
    void decoratedStaffRelaysAndSwitches();
    void trainingLoopRunsInOrder_data();
    void trainingLoopRunsInOrder();
    void boardClickReachesStaffAndTrainer_data();
    void boardClickReachesStaffAndTrainer();
    void staffHoverLightsTheBoard_data();
    void staffHoverLightsTheBoard();
    void staffShowsEveryBoardNoteAtEveryHeight_data();
    void staffShowsEveryBoardNoteAtEveryHeight();
    void modeSwitchingWithoutTraining();
    void findNoteIsRefusedWhileTrainingRuns_data();
    void findNoteIsRefusedWhileTrainingRuns();

public slots:
    // Relays a board's noteChanged() to the case that listens (boards of either class).
    void recordBoardNote(const QString& note, int accidental) { m_onBoardNote(note, accidental); }

private:
    std::function<void(const QString&, int)> m_onBoardNote;
};

namespace {

struct Row
{
    const char* instrument;
    const char* pageName;
    const char* staffName;
    const char* left;
    const char* right;
    const BoardTables::BoardTable* table;   // nullptr: the piano's keys
    const char* staffInstrument;
};

const Row kRows[] = {
    {"Banjo", "BanjoTonarixMainPage", "DecoratedNotesWidgetBanjo", "BanjoLeftLabel", "BanjoRightLabel",
     &BoardTables::kBanjo, "Banjo"},
    {"Balalaika", "BalalaikaTonarixMainPage", "DecoratedNotesWidgetBalalaika", "BalalaikaLeftLabel",
     "BalalaikaRightLabel", &BoardTables::kBalalaika, "Balalaika"},
    {"Mandolin", "MandolinTonarixMainPage", "DecoratedNotesWidgetMandolin", "MandolinLeftLabel",
     "MandolinRightLabel", &BoardTables::kMandolin, "Mandolin"},
    {"Piano", "PianoZevezerMainPage", "DecoratedNotesWidget", "PianoLeftLabel", "PianoRightLabel", nullptr, "piano"},
    {"Ukulele", "UkuleleZevezerMainPage", "DecoratedNotesWidgetUkulele", "UkuleleLeftLabel", "UkuleleRightLabel",
     &BoardTables::kUkulele, "Ukulele"},
    {"Guitar", "GuitarZevezerMainPage", "DecoratedNotesWidgetGuitar", "GuitarLeftLabel", "GuitarRightLabel",
     &BoardTables::kGuitar, "guitar"},
    {"Violin", "ViolinZevezerMainPage", "DecoratedNotesWidgetViolin", "ViolinLeftLabel", "ViolinRightLabel",
     &BoardTables::kViolin, "Violin"},
    {"Bass", "BassZevezerMainPage", "DecoratedNotesWidgetBass", "BassLeftLabel", "BassRightLabel",
     &BoardTables::kBass, "Bass"},
};
constexpr int kPianoRow = 3;
constexpr int kFirstNewRow = 3;
constexpr int kRowCount = int(std::size(kRows));

std::unique_ptr<FinderMainPage> makePage(int row)
{
    switch (row) {
    case 0: return std::make_unique<BanjoTonarixMainPage>();
    case 1: return std::make_unique<BalalaikaTonarixMainPage>();
    case 2: return std::make_unique<MandolinTonarixMainPage>();
    case 3: return std::make_unique<PianoZevezerMainPage>();
    case 4: return std::make_unique<UkuleleZevezerMainPage>();
    case 5: return std::make_unique<GuitarZevezerMainPage>();
    case 6: return std::make_unique<ViolinZevezerMainPage>();
    default: return std::make_unique<BassZevezerMainPage>();
    }
}

FinderWidget* finderOf(FinderMainPage& page)
{
    return qobject_cast<FinderWidget*>(page.finderWidget());
}

// The board of a page, whatever its class: the guitar and the piano boards are no BoardBase, but
// every board has the board signals and slots, and the fretted ones their mode buttons by name.
QWidget* boardOf(FinderMainPage& page)
{
    return finderOf(page)->boardWidget();
}

QPushButton* trainingButtonOf(QWidget* board)
{
    return board->findChild<QPushButton*>(QStringLiteral("DualButtonRight"));
}

QPushButton* findNoteButtonOf(QWidget* board)
{
    return board->findChild<QPushButton*>(QStringLiteral("DualButtonLeft"));
}

bool inTraining(QWidget* board)
{
    if (auto* b = qobject_cast<BoardBase*>(board))
        return b->isInTraining();
    if (auto* g = qobject_cast<GuitarBoard*>(board))
        return g->isInTraining();
    return false;
}

QVector<QString> trainingNotesOf(QWidget* board)
{
    if (auto* b = qobject_cast<BoardBase*>(board))
        return b->trainingNoteList();
    if (auto* g = qobject_cast<GuitarBoard*>(board))
        return g->trainingNoteList();
    QVector<QString> keys;
    for (const BoardTables::PianoKey& key : BoardTables::kPianoKeys)
        keys << QString::fromLatin1(key.note);
    return keys;
}

QString currentLayerOf(QWidget* board)
{
    if (auto* b = qobject_cast<BoardBase*>(board))
        return b->currentLayerName();
    if (auto* g = qobject_cast<GuitarBoard*>(board))
        return g->currentLayerName();
    return qobject_cast<PianoBoard*>(board)->currentLayerName();
}

// The layer a board shows for a note from the staff: the layer form, or the piano's key number.
QString layerFor(QWidget* board, const QString& natural, int accidental)
{
    if (qobject_cast<PianoBoard*>(board))
        return QString::number(PianoBoard::keyNumber(natural, accidental));
    return NoteName::layerForm(natural, accidental);
}

void addRows(int from = 0, bool withTrainingOnly = false)
{
    QTest::addColumn<int>("row");
    for (int i = from; i < kRowCount; ++i) {
        if (!(withTrainingOnly && i == kPianoRow))
            QTest::newRow(kRows[i].instrument) << i;
    }
}

// The widget point that lies over a point given in the 800 x 194 board frame.
QPoint widgetPoint(const QWidget* board, double x, double y)
{
    return QPoint(qRound((x + 0.5) * board->width() / 800.0), qRound((y + 0.5) * board->height() / 194.0));
}

void clickBoardAt(QWidget* board, double x, double y)
{
    QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, widgetPoint(board, x, y));
}

// The note a widget point names: the first spot in walk order whose 32 x 10 box holds the point
// once it is mapped into the board frame.
QString firstHit(const QWidget* board, const BoardTables::BoardTable& table, const QPoint& p)
{
    const int fx = int(float(p.x()) * 800.0f / float(board->width()));
    const int fy = int(float(p.y()) * 194.0f / float(board->height()));
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        const BoardTables::HotSpot& s = table.spots[i];
        if (fx >= s.x - 16 && fx <= s.x + 15 && fy >= s.y - 5 && fy <= s.y + 4)
            return QString::fromLatin1(s.note);
    }
    return QString();
}

} // namespace

void TestPages::pageIsBuiltFromItsRow_data()
{
    addRows();
}

void TestPages::pageIsBuiltFromItsRow()
{
    QFETCH(int, row);
    const Row& r = kRows[row];
    auto page = makePage(row);
    QCOMPARE(page->objectName(), QString::fromLatin1(r.pageName));
    QVERIFY(!page->shop());
    QVERIFY(page->promoMenuBar()->parent() == page.get());

    FinderWidget* finder = finderOf(*page);
    QVERIFY(finder);
    // The pages of this window's instruments are "...Tonarix", the others keep their own name.
    const QByteArray family = row < kFirstNewRow ? "Tonarix" : "Zevezer";
    QCOMPARE(QByteArray(finder->metaObject()->className()), "RIRurud::" + QByteArray(r.instrument) + family);
    QCOMPARE(QByteArray(page->metaObject()->className()), "RIRurud::" + QByteArray(r.instrument) + family + "MainPage");
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();
    QCOMPARE(staff->objectName(), QString::fromLatin1(r.staffName));
    QCOMPARE(staff->notesWidget()->instrumentName(), QString::fromLatin1(r.staffInstrument));
    QWidget* board = boardOf(*page);
    QCOMPARE(QByteArray(board->metaObject()->className()), "RIRurud::" + QByteArray(r.instrument) + "Board");

    // The side pictures: expanding, covering their label; a page never shown decodes no picture.
    for (const char* name : {r.left, r.right}) {
        auto* label = finder->findChild<REZirudid::Label*>(QString::fromLatin1(name));
        QVERIFY2(label, name);
        QCOMPARE(label->mode(), REZirudid::Label::Expand);
        QCOMPARE(label->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QVERIFY2(label->retinaPixmap().isNull(), name);
    }
    // Left picture, staff, right picture in one row; the board below it.
    auto* column = qobject_cast<QVBoxLayout*>(finder->layout());
    QVERIFY(column);
    auto* picturesRow = qobject_cast<QHBoxLayout*>(column->itemAt(0)->layout());
    QVERIFY(picturesRow);
    QCOMPARE(picturesRow->itemAt(0)->widget()->objectName(), QString::fromLatin1(r.left));
    QCOMPARE(picturesRow->itemAt(1)->widget(), staff);
    QCOMPARE(picturesRow->itemAt(2)->widget()->objectName(), QString::fromLatin1(r.right));
    QCOMPARE(column->itemAt(1)->widget(), finder->boardWidget());

    // Shown: Find Note mode, the staff visible and the trainer hidden.
    page->resize(1000, 800);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QVERIFY(staff->notesWidget()->isVisible());
    QVERIFY(!staff->trainerWidget()->isVisible());
    if (row == kPianoRow) {
        QVERIFY(!trainingButtonOf(board));   // the piano has find-note mode only
    } else {
        QVERIFY(findNoteButtonOf(board)->isChecked());
        QVERIFY(!trainingButtonOf(board)->isChecked());
    }
    QVERIFY(!staff->isTrainingStarted());
    for (const char* name : {r.left, r.right}) {
        auto* label = finder->findChild<REZirudid::Label*>(QString::fromLatin1(name));
        QTRY_VERIFY2(!label->retinaPixmap().isNull(), name);
    }
}

// On screen a side picture is decoded at the label's device size, showing what the whole picture
// scaled to cover the label would show from its top-left corner; it follows the label's size.
void TestPages::sidePicturesCoverTheirLabels_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("left");
    for (int i = 0; i < kRowCount; ++i) {
        QTest::newRow(kRows[i].left) << i << true;
        QTest::newRow(kRows[i].right) << i << false;
    }
}

void TestPages::sidePicturesCoverTheirLabels()
{
    QFETCH(int, row);
    QFETCH(bool, left);
    auto page = makePage(row);
    const QString name = QString::fromLatin1(left ? kRows[row].left : kRows[row].right);
    auto* label = qobject_cast<SidePictureLabel*>(finderOf(*page)->findChild<REZirudid::Label*>(name));
    QVERIFY(label);
    const QImage whole(label->resource());
    QVERIFY(!whole.isNull());

    const auto expectCovering = [&](const char* when) {
        QTRY_VERIFY2(label->retinaPixmap().size() == label->size() * label->devicePixelRatioF(), when);
        const QImage held = label->retinaPixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QSize device = label->size() * label->devicePixelRatioF();
        QVERIFY2(held.size() == device, when);
        const QImage expected = whole.scaled(device, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                                    .copy(QRect(QPoint(0, 0), device))
                                    .convertToFormat(QImage::Format_RGB32);
        qint64 difference = 0;
        for (int y = 0; y < device.height(); ++y) {
            for (int x = 0; x < device.width(); ++x) {
                const QRgb a = held.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            }
        }
        const double mean = double(difference) / (3.0 * device.width() * device.height());
        QVERIFY2(mean < 6.0, qPrintable(QStringLiteral("%1: mean difference %2").arg(when).arg(mean)));
    };

    page->resize(1000, 800);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    expectCovering("first shown");
    // Taller than the picture's proportions and then wider: cut at the side, then at the bottom.
    const QSize before = label->size();
    page->resize(1400, 1000);
    QTRY_VERIFY(label->size() != before);
    expectCovering("wider page");
    const QSize wider = label->size();
    page->resize(700, 1200);
    QTRY_VERIFY(label->size() != wider);
    expectCovering("taller page");
}

void TestPages::addShopMenuAddsTheInstrumentsShop_data()
{
    addRows();
}

void TestPages::addShopMenuAddsTheInstrumentsShop()
{
    QFETCH(int, row);
    auto page = makePage(row);
    QMenu* menu = page->promoMenuBar()->moreMenu();
    const int before = menu->actions().size();
    page->addShopMenu();
    QVERIFY(page->shop());
    QCOMPARE(page->shop()->parent(), page.get());
    const QByteArray expected = QByteArray("RIRurud::") + kRows[row].instrument + "Shop";
    QCOMPARE(page->objectName(), QString::fromLatin1(kRows[row].pageName));
    QCOMPARE(QByteArray(page->shop()->metaObject()->className()), expected);
    const QList<QAction*> added = menu->actions().mid(before);
    QCOMPARE(added.size(), 8);
    QCOMPARE(added.last()->text(), QStringLiteral("Wikipedia"));
}

void TestPages::decoratedStaffRelaysAndSwitches()
{
    DecoratedNotesWidget d;
    QCOMPARE(d.objectName(), QStringLiteral("DecoratedNotesWidget"));
    d.setInstrumentName(QStringLiteral("Banjo"));
    d.setStartLine(8);
    d.setLines(19);
    d.setTranslateLines(5);
    d.setPaperHeightFactor(1.42f);
    d.setNoBass(true);
    d.resize(600, 400);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(d.notesWidget()->isVisible());
    QVERIFY(!d.trainerWidget()->isVisible());

    QSignalSpy need(&d, &DecoratedNotesWidget::needNextNote);
    QSignalSpy started(&d, &DecoratedNotesWidget::trainingStarted);
    d.trainerWidget()->startButton()->click();
    QCOMPARE(need.count(), 1);
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.first().first().toBool(), true);
    QVERIFY(d.isTrainingStarted());

    d.slotSetTraningMode();
    d.slotSetTraningMode();
    QVERIFY(!d.notesWidget()->isVisible());
    QVERIFY(d.trainerWidget()->isVisible());

    // A note shown during training reaches the trainer and the hidden staff.
    d.slotShowNote(QStringLiteral("G4"), 1);
    QCOMPARE(d.trainerWidget()->currentNote(), QStringLiteral("G4"));
    QCOMPARE(d.trainerWidget()->currentAccidental(), 1);
    d.slotSetFindNoteMode();
    QVERIFY(d.notesWidget()->isVisible());
    QVERIFY(!d.trainerWidget()->isVisible());
    QTRY_COMPARE(d.notesWidget()->currentName(), QStringLiteral("G4"));
}

void TestPages::trainingLoopRunsInOrder_data()
{
    addRows(0, true);
}

void TestPages::trainingLoopRunsInOrder()
{
    QFETCH(int, row);
    auto page = makePage(row);
    page->resize(1000, 800);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    FinderWidget* finder = finderOf(*page);
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();
    NotesTrainerWidget* trainer = staff->trainerWidget();
    QWidget* board = boardOf(*page);

    // Listeners connected after the page's own wiring see the board's answer inside the very
    // emission of needNextNote(): "board" is recorded first, then "need", then the start.
    QStringList events;
    int answeredWithin = 0;
    connect(staff, &DecoratedNotesWidget::needNextNote, this, [&] {
        events << QStringLiteral("need");
        answeredWithin += events.size() >= 2 && events.at(events.size() - 2).startsWith(QStringLiteral("board ")) ? 1 : 0;
    });
    // The board is asked for its note before it is put into training.
    connect(board, SIGNAL(noteChanged(QString, int)), this, SLOT(recordBoardNote(QString, int)));
    m_onBoardNote = [&](const QString& n, int a) {
        events << QStringLiteral("board %1 %2 training %3").arg(n).arg(a).arg(inTraining(board));
    };
    connect(staff, &DecoratedNotesWidget::trainingStarted, this, [&](bool on) {
        // By the time training is announced the trainer already holds the board's note.
        events << QStringLiteral("started %1 trainer has %2 %3")
                      .arg(on)
                      .arg(trainer->currentNote())
                      .arg(trainer->currentAccidental());
    });

    trainingButtonOf(board)->click();
    QVERIFY(trainer->isVisible());
    trainer->startButton()->click();

    QCOMPARE(events.size(), 3);
    QVERIFY(events.at(0).startsWith(QStringLiteral("board ")));
    QCOMPARE(events.at(1), QStringLiteral("need"));
    QCOMPARE(answeredWithin, 1);
    const QStringList asked = events.at(0).split(' ');
    QCOMPARE(asked.at(4), QStringLiteral("0"));
    QCOMPARE(events.at(2), QStringLiteral("started 1 trainer has %1 %2").arg(asked.at(1), asked.at(2)));
    QVERIFY(inTraining(board));
    // The note asked is one of the board's training notes.
    QVERIFY(trainingNotesOf(board).contains(NoteName::boardForm(asked.at(1), asked.at(2).toInt())));

    // Answer right, then wrong: each press asks for the next note through the board.
    for (int round = 0; round < 2; ++round) {
        const QString note = trainer->currentNote();
        const int accidental = trainer->currentAccidental();
        int rightKey = -1;
        for (int k = 0; k < 12; ++k) {
            if (TrainerKeys::isRightAnswer(k, note, accidental))
                rightKey = k;
        }
        QVERIFY(rightKey >= 0);
        const int key = round == 0 ? rightKey : (rightKey + 1) % 12;
        events.clear();
        QTest::mousePress(trainer->key(key), Qt::LeftButton);
        QTest::mouseRelease(trainer->key(key), Qt::LeftButton);
        QCOMPARE(events.size(), 2);
        QVERIFY(events.at(0).startsWith(QStringLiteral("board ")));
        QCOMPARE(events.at(1), QStringLiteral("need"));
        QCOMPARE(answeredWithin, 2 + round);
    }
    QCOMPARE(trainer->statistic()->rightCount(), 1);
    QCOMPARE(trainer->statistic()->wrongCount(), 1);

    // Clicks on the board are ignored while training runs.
    const QString before = trainer->currentNote();
    events.clear();
    const BoardTables::HotSpot& spot = kRows[row].table->spots[0];
    clickBoardAt(board, spot.x, spot.y);
    QVERIFY(events.isEmpty());
    QCOMPARE(trainer->currentNote(), before);

    trainer->startButton()->click();
    QCOMPARE(events, QStringList({QStringLiteral("started 0 trainer has %1 %2")
                                      .arg(trainer->currentNote()).arg(trainer->currentAccidental())}));
    QVERIFY(!inTraining(board));
}

void TestPages::boardClickReachesStaffAndTrainer_data()
{
    addRows();
}

void TestPages::boardClickReachesStaffAndTrainer()
{
    QFETCH(int, row);
    auto page = makePage(row);
    page->resize(1200, 900);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QWidget* board = boardOf(*page);
    DecoratedNotesWidget* staff = finderOf(*page)->decoratedNotesWidget();

    // A few positions spread over the board, with the note each must name: a hot spot's, where the
    // first spot that holds the point wins, or a piano key's middle.
    QVector<QPair<QPointF, QString>> presses;
    if (const BoardTables::BoardTable* table = kRows[row].table) {
        for (std::size_t i = 0; i < table->spotCount; i += qMax<std::size_t>(1, table->spotCount / 6)) {
            const BoardTables::HotSpot& spot = table->spots[i];
            if (spot.marked)
                presses.append({QPointF(spot.x, spot.y), firstHit(board, *table, widgetPoint(board, spot.x, spot.y))});
        }
    } else {
        for (std::size_t i = 0; i < BoardTables::kPianoKeyCount; i += 7) {
            const BoardTables::PianoKey& key = BoardTables::kPianoKeys[i];
            presses.append({QPointF((key.lo + key.hi) / 2.0 - 0.5, key.black ? 90 : 125), QString::fromLatin1(key.note)});
        }
    }
    for (const auto& press : qAsConst(presses)) {
        QSignalSpy changed(board, SIGNAL(noteChanged(QString, int)));
        clickBoardAt(board, press.first.x(), press.first.y());
        QCOMPARE(changed.count(), 1);
        const QString name = changed.first().at(0).toString();
        const int accidental = changed.first().at(1).toInt();
        QCOMPARE(NoteName::boardForm(name, accidental), press.second);
        QCOMPARE(currentLayerOf(board), layerFor(board, name, accidental));
        QCOMPARE(staff->trainerWidget()->currentNote(), name);
        QCOMPARE(staff->trainerWidget()->currentAccidental(), accidental);
        QTRY_COMPARE(staff->notesWidget()->currentName(), name);
    }
    QVERIFY(presses.size() >= 3);
}

void TestPages::staffHoverLightsTheBoard_data()
{
    QTest::addColumn<int>("row");
    for (int row : {0, kPianoRow, 5})
        QTest::newRow(kRows[row].instrument) << row;
}

void TestPages::staffHoverLightsTheBoard()
{
    QFETCH(int, row);
    auto page = makePage(row);
    page->resize(1200, 900);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    NotesWidget* notes = finderOf(*page)->decoratedNotesWidget()->notesWidget();
    QWidget* board = boardOf(*page);
    QSignalSpy relayed(finderOf(*page)->decoratedNotesWidget(), &DecoratedNotesWidget::noteChanged);

    QStringList layers;
    for (int step = 1; step <= 4; ++step) {
        const QPoint p(notes->width() / 2, notes->height() * (2 + step) / 8);
        QMouseEvent move(QEvent::MouseMove, p, notes->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(notes, &move);
        QApplication::processEvents();
        notes->repaint();
        if (!notes->currentName().isEmpty()) {
            QCOMPARE(currentLayerOf(board), layerFor(board, notes->currentName(), 0));
            layers << currentLayerOf(board);
        }
    }
    QVERIFY(relayed.count() >= 2);
    QVERIFY(QSet<QString>(layers.begin(), layers.end()).size() >= 2);
}

// Every note the board can send lands on the staff as that very note, whatever the page's height
// (the staff places it in the middle of its own band), for the pages of the other five instruments.
void TestPages::staffShowsEveryBoardNoteAtEveryHeight_data()
{
    addRows(kFirstNewRow);
}

void TestPages::staffShowsEveryBoardNoteAtEveryHeight()
{
    QFETCH(int, row);
    auto page = makePage(row);
    page->resize(1000, 700);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QWidget* board = boardOf(*page);
    NotesWidget* notes = finderOf(*page)->decoratedNotesWidget()->notesWidget();
    const QVector<QString> sent = trainingNotesOf(board);
    QVERIFY(!sent.isEmpty());
    for (int height = 560; height <= 1400; height += 60) {
        page->resize(1000, height);
        QApplication::processEvents();
        for (const QString& note : sent) {
            const QString natural = NoteName::naturalName(note);
            QVERIFY(QMetaObject::invokeMethod(board, "noteChanged", Q_ARG(QString, natural),
                                              Q_ARG(int, NoteName::boardAccidental(note))));
            QVERIFY2(notes->currentName() == natural,
                     qPrintable(QStringLiteral("%1 at staff height %2 shows %3")
                                    .arg(note).arg(notes->height()).arg(notes->currentName())));
        }
    }
}

void TestPages::modeSwitchingWithoutTraining()
{
    BalalaikaTonarixMainPage page;
    page.resize(1000, 800);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    BalalaikaBoard* board = page.finder()->board();
    DecoratedNotesWidget* staff = page.finder()->decoratedNotesWidget();

    board->trainingButton()->click();
    QVERIFY(staff->trainerWidget()->isVisible());
    QVERIFY(!staff->notesWidget()->isVisible());
    // Back without starting the trainer: silently, no box.
    board->findNoteButton()->click();
    QVERIFY(!TestSupport::DialogAnswerer::activeModal());
    QVERIFY(staff->notesWidget()->isVisible());
    QVERIFY(!staff->trainerWidget()->isVisible());
    QVERIFY(board->findNoteButton()->isChecked());
}

void TestPages::findNoteIsRefusedWhileTrainingRuns_data()
{
    QTest::addColumn<int>("row");
    for (int row : {2, 4, 5, 6, 7})
        QTest::newRow(kRows[row].instrument) << row;
}

void TestPages::findNoteIsRefusedWhileTrainingRuns()
{
    QFETCH(int, row);
    auto page = makePage(row);
    page->resize(1000, 800);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QWidget* board = boardOf(*page);
    FinderWidget* finder = finderOf(*page);
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();
    NotesTrainerWidget* trainer = staff->trainerWidget();

    trainingButtonOf(board)->click();
    trainer->startButton()->click();
    QVERIFY(trainer->isTrainingStarted());

    for (int press = 0; press < 2; ++press) {
        QString text;
        QWidget* parent = nullptr;
        TestSupport::DialogAnswerer answer(QStringLiteral("Ok"));
        answer.setInspector([&](QWidget* box) {
            parent = box->parentWidget();
            for (QLabel* l : box->findChildren<QLabel*>())
                text += l->text();
        });
        findNoteButtonOf(board)->click();
        QVERIFY(answer.answered());
        QCOMPARE(answer.dialogTitle(), QStringLiteral("Info"));
        QVERIFY2(text.contains(QStringLiteral("Please, stop the training to be able to do other actions.")),
                 qPrintable(text));
        QCOMPARE(answer.buttonTexts(), QStringList({"Ok"}));
        QCOMPARE(parent, finder);
        // Still training: Training checked again, trainer shown and counting.
        QVERIFY(trainingButtonOf(board)->isChecked());
        QVERIFY(!findNoteButtonOf(board)->isChecked());
        QVERIFY(trainer->isVisible());
        QVERIFY(trainer->isTrainingStarted());
        const int answers = trainer->statistic()->rightCount() + trainer->statistic()->wrongCount();
        trainer->slotAClicked();
        QCOMPARE(trainer->statistic()->rightCount() + trainer->statistic()->wrongCount(), answers + 1);
    }

    // Once stopped, Find Note works again.
    trainer->startButton()->click();
    findNoteButtonOf(board)->click();
    QVERIFY(staff->notesWidget()->isVisible());
    QVERIFY(!trainer->isVisible());
}

TONARIX_APP_TEST_MAIN(TestPages)
#include "tst_Pages.moc"
