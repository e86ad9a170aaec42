// The boards with their generated pictures: sizes and proportions, every overlay marking exactly
// the spots a click answers with its note, and what a board actually paints in Find Note mode and
// in training.
#include "RIRurud/BalalaikaBoard.h"
#include "RIRurud/BanjoBoard.h"
#include "RIRurud/MandolinBoard.h"
#include "RIRurud/NoteName.h"

#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using BoardTables::BoardTable;

Q_DECLARE_METATYPE(const BoardTable*)

namespace {

QPoint picturePoint(int x, int y, const QSize& size)
{
    return QPoint(int(x * size.width() / 800.0), int(y * size.height() / 194.0));
}

// How many of the given frame points show a mark in a screenshot of the board.
int litPositions(const QImage& shot, const QVector<QPoint>& framePoints)
{
    int lit = 0;
    for (const QPoint& f : framePoints) {
        const QRgb pixel = shot.pixel(picturePoint(f.x(), f.y(), shot.size()));
        // The marks are a saturated red; wood, strings and frets are not.
        if (qRed(pixel) > 170 && qGreen(pixel) < 110 && qBlue(pixel) < 110)
            ++lit;
    }
    return lit;
}

} // namespace

class TestBoardPictures : public QObject
{
    Q_OBJECT

private slots:
    void boardPictureSetsTheProportions_data();
    void boardPictureSetsTheProportions();
    void overlaysMarkExactlyTheirSpots_data();
    void overlaysMarkExactlyTheirSpots();
    void trainingShowsOnePosition();
    void overlaysAreKeptAsSmallTiles();
    void boardPictureIsDecodedAtTheDrawnSize();
};

void TestBoardPictures::boardPictureSetsTheProportions_data()
{
    QTest::addColumn<QString>("board");
    for (const char* name : {"Balalaika", "Banjo", "Mandolin"})
        QTest::newRow(name) << QString(name);
}

void TestBoardPictures::boardPictureSetsTheProportions()
{
    QFETCH(QString, board);
    const QPixmap picture(QStringLiteral(":/%1_0@2x.jpg").arg(board));
    QCOMPARE(picture.size(), QSize(2048, 497));
    QScopedPointer<BoardBase> w(board == "Banjo" ? static_cast<BoardBase*>(new BanjoBoard)
                                : board == "Balalaika" ? static_cast<BoardBase*>(new BalalaikaBoard)
                                                       : static_cast<BoardBase*>(new MandolinBoard));
    w->show();
    w->resize(1000, 600);
    QCOMPARE(w->height(), 242);
    w->resize(800, 600);
    QCOMPARE(w->height(), 194);
}

void TestBoardPictures::overlaysMarkExactlyTheirSpots_data()
{
    QTest::addColumn<const BoardTable*>("table");
    QTest::newRow("balalaika") << &BoardTables::kBalalaika;
    QTest::newRow("banjo") << &BoardTables::kBanjo;
    QTest::newRow("mandolin") << &BoardTables::kMandolin;
}

// At every spot of a note its overlay carries a mark the training search finds (red or blue above
// 50) unless the spot is one without a mark; the other notes' overlays leave the spot clear unless
// a mark of their own lies close by.
void TestBoardPictures::overlaysMarkExactlyTheirSpots()
{
    QFETCH(const BoardTable*, table);
    for (std::size_t l = 0; l < table->layerCount; ++l) {
        const QString layer = QString::fromLatin1(table->layerNames[l]);
        const QImage overlay =
            QImage(QStringLiteral(":/%1_%2@2x.png").arg(table->name, layer)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(overlay.size(), QSize(2048, 497));
        QCOMPARE(qAlpha(overlay.pixel(5, 5)), 0);
        for (std::size_t i = 0; i < table->spotCount; ++i) {
            const BoardTables::HotSpot& spot = table->spots[i];
            const bool ofThisNote = NoteName::layerFromBoard(QString::fromLatin1(spot.note)) == layer;
            const QRgb pixel = overlay.pixel(picturePoint(spot.x, spot.y, overlay.size()));
            const bool marked = qAlpha(pixel) > 200 && BoardGeometry::isMarked(pixel);
            const QString where = QStringLiteral("%1 %2 at %3,%4").arg(layer, spot.note).arg(spot.x).arg(spot.y);
            if (ofThisNote) {
                QVERIFY2(marked == spot.marked, qPrintable(where));
                continue;
            }
            // Another note's spot: clear, unless one of this note's marked spots is near.
            bool near = false;
            for (std::size_t j = 0; j < table->spotCount; ++j) {
                const BoardTables::HotSpot& other = table->spots[j];
                if (other.marked && NoteName::layerFromBoard(QString::fromLatin1(other.note)) == layer
                    && qAbs(other.x - spot.x) <= 8 && qAbs(other.y - spot.y) <= 8)
                    near = true;
            }
            QVERIFY2(near || qAlpha(pixel) == 0, qPrintable(where + " carries a stray mark"));
        }
    }
}

void TestBoardPictures::trainingShowsOnePosition()
{
    BanjoBoard board;
    board.show();
    board.resize(1200, 400);
    // E4 lies at four well separated places on the banjo.
    const QVector<QPoint> e4 = {{170, 71}, {308, 80}, {456, 88}, {599, 100}};
    board.slotSetNote("E4", 0);
    QCOMPARE(litPositions(board.grab().toImage(), e4), 4);
    QCOMPARE(litPositions(board.grab().toImage(), {{80, 99}, {220, 80}}), 0);

    board.slotSetInTraining(true);
    QSet<int> shown;
    for (int i = 0; i < 12; ++i) {
        const QImage shot = board.grab().toImage();
        QCOMPARE(litPositions(shot, e4), 1);
        for (int k = 0; k < e4.size(); ++k) {
            if (litPositions(shot, {e4.at(k)}))
                shown.insert(k);
        }
        QTest::qWait(7);
    }
    QVERIFY2(shown.size() > 1, "training should not always show the same position");

    board.slotSetNote("", 0);
    QCOMPARE(litPositions(board.grab().toImage(), e4), 0);
}

// A board keeps of each overlay only the tiles around its marks, never the whole decoded picture:
// after every overlay of the three boards has been cut, the tiles together stay a small fraction
// of what the decoded overlays would take.
void TestBoardPictures::overlaysAreKeptAsSmallTiles()
{
    BalalaikaBoard balalaika;
    BanjoBoard banjo;
    MandolinBoard mandolin;
    int layers = 0;
    QSet<QString> paths;
    for (BoardBase* board : {static_cast<BoardBase*>(&balalaika), static_cast<BoardBase*>(&banjo),
                             static_cast<BoardBase*>(&mandolin)}) {
        for (const QString& path : board->layerMap())
            paths.insert(path);
        board->preloadLayers();
    }
    layers = paths.size();
    QCOMPARE(std::size_t(layers),
             BoardTables::kBalalaika.layerCount + BoardTables::kBanjo.layerCount + BoardTables::kMandolin.layerCount);
    QTRY_COMPARE_WITH_TIMEOUT(BoardBase::layerCacheUse().layers, layers, 30000);
    const qint64 decodedOverlay = 2048LL * 497 * 4;
    const qint64 bytes = BoardBase::layerCacheUse().bytes;
    qInfo("%d overlays kept in %.1f MB of tiles (%.1f KB each)", layers, bytes / 1048576.0,
          bytes / 1024.0 / layers);
    QVERIFY(bytes > 0);
    QVERIFY2(bytes < layers * decodedOverlay / 20, "overlays should be kept as small tiles only");

    // Cutting again costs nothing more.
    banjo.preloadLayers();
    QTest::qWait(50);
    QCOMPARE(BoardBase::layerCacheUse().bytes, bytes);
}

// The board picture is decoded straight to the size it is drawn at; the result must look like the
// whole picture scaled down.
void TestBoardPictures::boardPictureIsDecodedAtTheDrawnSize()
{
    BanjoBoard board;
    QCOMPARE(board.boardPictureSize(), QSize(2048, 497));
    board.show();
    board.resize(1000, 600);
    // Below the mode buttons, both reduced to an eighth so that fine detail (which two good scalers
    // render a little differently) does not count, but a wrong size, place or picture does.
    const QRect below(0, 60, board.width(), board.height() - 60);
    const auto reduced = [](const QImage& image) {
        return image.scaled(image.size() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage shot = reduced(board.grab(below).toImage());
    const QImage reference = reduced(QImage(board.boardPicturePath())
                                         .scaled(board.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                         .copy(below));
    QCOMPARE(shot.size(), reference.size());
    qint64 difference = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb a = shot.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
        }
    }
    const double perPixel = double(difference) / (shot.width() * shot.height());
    QVERIFY2(perPixel < 6, qPrintable(QString::number(perPixel)));
}

TONARIX_APP_TEST_MAIN(TestBoardPictures)
#include "tst_BoardPictures.moc"
