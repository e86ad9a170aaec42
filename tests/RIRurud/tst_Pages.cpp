// The instrument finder pages: the staff and the board wired both ways, the training loop through
// the real board and decorated staff, the mode switching with its refusal while training runs,
// and the shop each page adds.

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
#include "RIRurud/BoardTables.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/MandolinBoard.h"
#include "RIRurud/MandolinShop.h"
#include "RIRurud/MandolinTonarix.h"
#include "RIRurud/MandolinTonarixMainPage.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/NotesLernStatistic.h"
#include "RIRurud/NotesTrainerWidget.h"
#include "RIRurud/NotesWidget.h"
#include "RIRurud/SidePictureLabel.h"
#include "RIRurud/TrainerKeys.h"
#include "TestMain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

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
    void staffHoverLightsTheBoard();
    void modeSwitchingWithoutTraining();
    void findNoteIsRefusedWhileTrainingRuns();
};

namespace {

struct Row
{
    const char* instrument;
    const char* pageName;
    const char* staffName;
    const char* left;
    const char* right;
    const BoardTables::BoardTable* table;
};

const Row kRows[] = {
    {"Banjo", "BanjoTonarixMainPage", "DecoratedNotesWidgetBanjo", "BanjoLeftLabel", "BanjoRightLabel",
     &BoardTables::kBanjo},
    {"Balalaika", "BalalaikaTonarixMainPage", "DecoratedNotesWidgetBalalaika", "BalalaikaLeftLabel",
     "BalalaikaRightLabel", &BoardTables::kBalalaika},
    {"Mandolin", "MandolinTonarixMainPage", "DecoratedNotesWidgetMandolin", "MandolinLeftLabel",
     "MandolinRightLabel", &BoardTables::kMandolin},
};

std::unique_ptr<FinderMainPage> makePage(int row)
{
    switch (row) {
    case 0: return std::make_unique<BanjoTonarixMainPage>();
    case 1: return std::make_unique<BalalaikaTonarixMainPage>();
    default: return std::make_unique<MandolinTonarixMainPage>();
    }
}

FinderWidget* finderOf(FinderMainPage& page)
{
    return qobject_cast<FinderWidget*>(page.finderWidget());
}

BoardBase* boardOf(FinderMainPage& page)
{
    return qobject_cast<BoardBase*>(finderOf(page)->boardWidget());
}

void addRows()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < 3; ++i)
        QTest::newRow(kRows[i].instrument) << i;
}

// The widget point that lies over a hot spot given in the 800 x 194 board frame.
QPoint widgetPoint(const BoardBase* board, int x, int y)
{
    return QPoint(qRound((x + 0.5) * board->width() / 800.0), qRound((y + 0.5) * board->height() / 194.0));
}

void clickBoardAt(BoardBase* board, int x, int y)
{
    QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, widgetPoint(board, x, y));
}

// The note a widget point names: the first spot in walk order whose 32 x 10 box holds the point
// once it is mapped into the board frame.
QString firstHit(const BoardBase* board, const BoardTables::BoardTable& table, const QPoint& p)
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
    QVERIFY(QByteArray(finder->metaObject()->className()).endsWith(QByteArray(r.instrument) + "Tonarix"));
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();
    QCOMPARE(staff->objectName(), QString::fromLatin1(r.staffName));
    QCOMPARE(staff->notesWidget()->instrumentName(), QString::fromLatin1(r.instrument));
    QCOMPARE(boardOf(*page)->instrument(), QString::fromLatin1(r.table->name));

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
    QVERIFY(boardOf(*page)->findNoteButton()->isChecked());
    QVERIFY(!boardOf(*page)->trainingButton()->isChecked());
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
    for (int i = 0; i < 3; ++i) {
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
    addRows();
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
    BoardBase* board = boardOf(*page);

    // Listeners connected after the page's own wiring see the board's answer inside the very
    // emission of needNextNote(): "board" is recorded first, then "need", then the start.
    QStringList events;
    int answeredWithin = 0;
    connect(staff, &DecoratedNotesWidget::needNextNote, this, [&] {
        events << QStringLiteral("need");
        answeredWithin += events.size() >= 2 && events.at(events.size() - 2).startsWith(QStringLiteral("board ")) ? 1 : 0;
    });
    // The board is asked for its note before it is put into training.
    connect(board, &BoardBase::noteChanged, this, [&](const QString& n, int a) {
        events << QStringLiteral("board %1 %2 training %3").arg(n).arg(a).arg(board->isInTraining());
    });
    connect(staff, &DecoratedNotesWidget::trainingStarted, this, [&](bool on) {
        // By the time training is announced the trainer already holds the board's note.
        events << QStringLiteral("started %1 trainer has %2 %3")
                      .arg(on)
                      .arg(trainer->currentNote())
                      .arg(trainer->currentAccidental());
    });

    board->trainingButton()->click();
    QVERIFY(trainer->isVisible());
    trainer->startButton()->click();

    QCOMPARE(events.size(), 3);
    QVERIFY(events.at(0).startsWith(QStringLiteral("board ")));
    QCOMPARE(events.at(1), QStringLiteral("need"));
    QCOMPARE(answeredWithin, 1);
    const QStringList asked = events.at(0).split(' ');
    QCOMPARE(asked.at(4), QStringLiteral("0"));
    QCOMPARE(events.at(2), QStringLiteral("started 1 trainer has %1 %2").arg(asked.at(1), asked.at(2)));
    QVERIFY(board->isInTraining());
    // The note asked is one of the board's training notes.
    QVERIFY(board->trainingNoteList().contains(NoteName::boardForm(asked.at(1), asked.at(2).toInt())));

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
    QVERIFY(!board->isInTraining());
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
    BoardBase* board = boardOf(*page);
    DecoratedNotesWidget* staff = finderOf(*page)->decoratedNotesWidget();
    const BoardTables::BoardTable& table = *kRows[row].table;

    // A few marked spots spread over the table; the first spot that holds the point wins, so
    // ask the board which note the point names and follow that one through.
    int checked = 0;
    for (std::size_t i = 0; i < table.spotCount; i += qMax<std::size_t>(1, table.spotCount / 6)) {
        const BoardTables::HotSpot& spot = table.spots[i];
        if (!spot.marked)
            continue;
        QSignalSpy changed(board, &BoardBase::noteChanged);
        clickBoardAt(board, spot.x, spot.y);
        QCOMPARE(changed.count(), 1);
        const QString name = changed.first().at(0).toString();
        const int accidental = changed.first().at(1).toInt();
        QCOMPARE(NoteName::boardForm(name, accidental), firstHit(board, table, widgetPoint(board, spot.x, spot.y)));
        QCOMPARE(staff->trainerWidget()->currentNote(), name);
        QCOMPARE(staff->trainerWidget()->currentAccidental(), accidental);
        QTRY_COMPARE(staff->notesWidget()->currentName(), name);
        ++checked;
    }
    QVERIFY(checked >= 3);
}

void TestPages::staffHoverLightsTheBoard()
{
    BanjoTonarixMainPage page;
    page.resize(1200, 900);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    NotesWidget* notes = page.finder()->decoratedNotesWidget()->notesWidget();
    BanjoBoard* board = page.finder()->board();
    QSignalSpy relayed(page.finder()->decoratedNotesWidget(), &DecoratedNotesWidget::noteChanged);

    QStringList layers;
    for (int step = 1; step <= 4; ++step) {
        const QPoint p(notes->width() / 2, notes->height() * (2 + step) / 8);
        QMouseEvent move(QEvent::MouseMove, p, notes->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(notes, &move);
        QApplication::processEvents();
        notes->repaint();
        if (!notes->currentName().isEmpty()) {
            QCOMPARE(board->currentLayerName(), NoteName::layerForm(notes->currentName(), 0));
            layers << board->currentLayerName();
        }
    }
    QVERIFY(relayed.count() >= 2);
    QVERIFY(QSet<QString>(layers.begin(), layers.end()).size() >= 2);
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

void TestPages::findNoteIsRefusedWhileTrainingRuns()
{
    MandolinTonarixMainPage page;
    page.resize(1000, 800);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    MandolinBoard* board = page.finder()->board();
    DecoratedNotesWidget* staff = page.finder()->decoratedNotesWidget();
    NotesTrainerWidget* trainer = staff->trainerWidget();

    board->trainingButton()->click();
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
        board->findNoteButton()->click();
        QVERIFY(answer.answered());
        QCOMPARE(answer.dialogTitle(), QStringLiteral("Info"));
        QVERIFY2(text.contains(QStringLiteral("Please, stop the training to be able to do other actions.")),
                 qPrintable(text));
        QCOMPARE(answer.buttonTexts(), QStringList({"Ok"}));
        QCOMPARE(parent, page.finder());
        // Still training: Training checked again, trainer shown and counting.
        QVERIFY(board->trainingButton()->isChecked());
        QVERIFY(!board->findNoteButton()->isChecked());
        QVERIFY(trainer->isVisible());
        QVERIFY(trainer->isTrainingStarted());
        const int answers = trainer->statistic()->rightCount() + trainer->statistic()->wrongCount();
        trainer->slotAClicked();
        QCOMPARE(trainer->statistic()->rightCount() + trainer->statistic()->wrongCount(), answers + 1);
    }

    // Once stopped, Find Note works again.
    trainer->startButton()->click();
    board->findNoteButton()->click();
    QVERIFY(staff->notesWidget()->isVisible());
    QVERIFY(!trainer->isVisible());
}

TONARIX_APP_TEST_MAIN(TestPages)
#include "tst_Pages.moc"
