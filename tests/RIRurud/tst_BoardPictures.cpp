// The boards with their generated pictures: sizes and proportions, every overlay marking exactly
// the spots a click answers with its note, every mark naming its string's open note plus its fret,
// the piano's keys where its key table has them, and what a board actually paints in Find Note mode
// and in training.
#include "BoardsUnderTest.h"
#include "RIRurud/BoardMarks.h"
#include "RIRurud/BoardView.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/OverlayTiles.h"
#include "RIRurud/PianoBoard.h"

#include <QPainter>
#include <QVector3D>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using BoardTables::BoardTable;
using BoardsUnderTest::withFrettedBoard;

Q_DECLARE_METATYPE(const BoardTable*)

namespace {

QPoint picturePoint(int x, int y, const QSize& size)
{
    return QPoint(int(x * size.width() / 800.0), int(y * size.height() / 194.0));
}

// How much of a screen pixel the marks' red (E0 3C 31) covers, from the pixel without and with it.
double redCover(QRgb unlit, QRgb lit)
{
    const QVector3D base(qRed(unlit), qGreen(unlit), qBlue(unlit));
    const QVector3D red = QVector3D(0xE0, 0x3C, 0x31) - base;
    const QVector3D change = QVector3D(qRed(lit), qGreen(lit), qBlue(lit)) - base;
    return qBound(0.0, double(QVector3D::dotProduct(change, red) / (red.lengthSquared() + 1)), 1.0);
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
    void init() { NoteName::setSoundHook([](const QString&) {}); }
    void cleanup() { NoteName::setSoundHook({}); }
    void boardPictureSetsTheProportions_data();
    void boardPictureSetsTheProportions();
    void overlaysMarkExactlyTheirSpots_data();
    void overlaysMarkExactlyTheirSpots();
    void everyMarkNamesItsStringPlusFret_data();
    void everyMarkNamesItsStringPlusFret();
    void barsAnswerAtEveryWidth();
    void pianoKeysLieWhereTheyAnswer();
    void trainingShowsOnePosition_data();
    void trainingShowsOnePosition();
    void overlaysAreKeptAsSmallTiles();
    void boardPictureIsDecodedAtTheDrawnSize();
};

void TestBoardPictures::boardPictureSetsTheProportions_data()
{
    QTest::addColumn<QString>("board");
    for (const QString& name : BoardsUnderTest::frettedBoards())
        QTest::newRow(qPrintable(name)) << name;
    QTest::newRow("Piano") << "Piano";
}

void TestBoardPictures::boardPictureSetsTheProportions()
{
    QFETCH(QString, board);
    const QPixmap picture(QStringLiteral(":/%1_0@2x.jpg").arg(board));
    QCOMPARE(picture.size(), QSize(2048, 497));
    const auto check = [](QWidget& w) {
        w.show();
        w.resize(1000, 600);
        QCOMPARE(w.height(), 242);
        w.resize(800, 600);
        QCOMPARE(w.height(), 194);
    };
    if (board == "Piano") {
        PianoBoard piano;
        check(piano);
    } else {
        withFrettedBoard(board, check);
    }
}

void TestBoardPictures::overlaysMarkExactlyTheirSpots_data()
{
    QTest::addColumn<const BoardTable*>("table");
    for (const BoardTable* table : BoardTables::kAllBoards)
        QTest::newRow(table->name) << table;
}

// Where each marked spot of a note draws its mark, its overlay carries a mark the training search
// finds (red or blue above 50), except where the mark is a bar, which the board draws itself; a
// spot without a mark has none at its centre; the other notes' overlays leave the spot clear unless
// a mark of their own lies close by.
void TestBoardPictures::overlaysMarkExactlyTheirSpots()
{
    QFETCH(const BoardTable*, table);
    QVector<BoardMarks::MarkPlace> marks;
    for (std::size_t i = 0; i < table->spotCount; ++i)
        marks.append(BoardMarks::markPlace(*table, i));
    for (std::size_t l = 0; l < table->layerCount; ++l) {
        const QString layer = QString::fromLatin1(table->layerNames[l]);
        const QImage overlay =
            QImage(QStringLiteral(":/%1_%2@2x.png").arg(table->name, layer)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(overlay.size(), QSize(2048, 497));
        QCOMPARE(qAlpha(overlay.pixel(5, 5)), 0);
        for (std::size_t i = 0; i < table->spotCount; ++i) {
            const BoardTables::HotSpot& spot = table->spots[i];
            const bool ofThisNote = NoteName::layerFromBoard(QString::fromLatin1(spot.note)) == layer;
            const BoardMarks::MarkPlace& mark = marks.at(int(i));
            const QPointF at = ofThisNote && spot.marked ? QPointF(mark.x, mark.y) : QPointF(spot.x, spot.y);
            const QRgb pixel = overlay.pixel(int(at.x() * overlay.width() / 800), int(at.y() * overlay.height() / 194));
            const bool marked = qAlpha(pixel) > 200 && BoardGeometry::isMarked(pixel);
            const QString where = QStringLiteral("%1 %2 at %3,%4").arg(layer, spot.note).arg(spot.x).arg(spot.y);
            if (ofThisNote) {
                QVERIFY2(marked == (spot.marked && !mark.bar), qPrintable(where));
                continue;
            }
            // Another note's spot: clear, unless one of this note's marks is near.
            bool near = false;
            for (std::size_t j = 0; j < table->spotCount; ++j) {
                const BoardTables::HotSpot& other = table->spots[j];
                const BoardMarks::MarkPlace& otherMark = marks.at(int(j));
                if (other.marked && NoteName::layerFromBoard(QString::fromLatin1(other.note)) == layer
                    && qAbs(otherMark.x - spot.x) <= 8 && qAbs(otherMark.y - spot.y) <= 8)
                    near = true;
            }
            QVERIFY2(near || qAlpha(pixel) == 0, qPrintable(where + " carries a stray mark"));
        }
    }
}

namespace {

// Each board's strings as the instrument is tuned, top string first: what a learner would expect
// to hear at any fret. The banjo's short fifth string (G4) starts at the fifth fret.
struct Tuning
{
    const char* board;
    QVector<QString> open;
    int shortStringFret;
};

const Tuning kTunings[] = {
    {"Balalaika", {"A4", "E4", "E4"}, 0},
    {"Banjo", {"D4", "B3", "G3", "D3", "G4"}, 5},
    {"Mandolin", {"E5", "A4", "D4", "G3"}, 0},
    {"Guitar", {"E4", "B3", "G3", "D3", "A2", "E2"}, 0},
    {"Ukulele", {"A4", "E4", "C4", "G4"}, 0},
    {"Violin", {"E5", "A4", "D4", "G3"}, 0},
    {"Bass", {"G2", "D2", "A1", "E1"}, 0},
};

int semitone(const QString& boardForm)
{
    static const QString letters = QStringLiteral("C D EF G A B");
    return 12 * (boardForm.at(1).digitValue() + 1) + letters.indexOf(boardForm.at(0)) + (boardForm.endsWith('#') ? 1 : 0);
}

QString boardFormOf(int semitones)
{
    static const char* const names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const QString name = QString::fromLatin1(names[semitones % 12]);
    return name.left(1) + QString::number(semitones / 12 - 1) + name.mid(1);
}

// The marks of an overlay: the centres (in overlay pixels) of its connected groups of marked pixels
// (the narrowest marks, high up the neck, are bars three pixels wide).
QVector<QPointF> marksOf(const QImage& overlay)
{
    const QImage image = overlay.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    QVector<char> seen(w * h, 0);
    const auto isMark = [&](int x, int y) {
        const QRgb pixel = image.pixel(x, y);
        return qAlpha(pixel) > 128 && BoardGeometry::isMarked(pixel);
    };
    QVector<QPointF> marks;
    QVector<QPoint> stack;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (seen[y * w + x] || !isMark(x, y))
                continue;
            double sx = 0, sy = 0;
            int count = 0;
            stack.append(QPoint(x, y));
            seen[y * w + x] = 1;
            while (!stack.isEmpty()) {
                const QPoint p = stack.takeLast();
                sx += p.x();
                sy += p.y();
                ++count;
                for (const QPoint& n : {QPoint(p.x() + 1, p.y()), QPoint(p.x() - 1, p.y()), QPoint(p.x(), p.y() + 1),
                                        QPoint(p.x(), p.y() - 1)}) {
                    if (n.x() >= 0 && n.x() < w && n.y() >= 0 && n.y() < h && !seen[n.y() * w + n.x()]
                        && isMark(n.x(), n.y())) {
                        seen[n.y() * w + n.x()] = 1;
                        stack.append(n);
                    }
                }
            }
            if (count >= 8)
                marks.append(QPointF(sx / count, sy / count));
        }
    }
    return marks;
}

// What lighting a note changes on the screen, mark by mark: the pixels where `lit` differs from
// `unlit`, in touching groups (one per drawn mark), each pixel asked which note a press on it
// answers (a press lands on whole logical pixels, so at a pixel ratio of 2 it is rounded), and how
// wide the mark's red is in its widest row.
struct MarkPixels
{
    int marks = 0;
    int answeringOther = 0;     // marks with a pixel that answers another note
    int answeringNothing = 0;   // marks with a pixel that answers no note
    QString firstWrong;
    double narrowest = 1e9;     // the least width of red of a mark, in pixels
    QString narrowestMark;
};

template <typename Board>
void tallyMarkPixels(const Board& board, const QImage& unlit, const QImage& lit, const QString& note,
                     MarkPixels& tally)
{
    const int w = lit.width();
    const int h = lit.height();
    const qreal dpr = lit.devicePixelRatio();
    QVector<char> changed(w * h, 0);
    for (int y = 0; y < h; ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(lit.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(unlit.constScanLine(y));
        for (int x = 0; x < w; ++x)
            changed[y * w + x] = a[x] != b[x] ? 1 : 0;
    }
    QVector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (changed[start] != 1)
            continue;
        bool other = false, nothing = false;
        QMap<int, double> redInRow;
        changed[start] = 2;
        stack.append(start);
        while (!stack.isEmpty()) {
            const int i = stack.takeLast();
            const int x = i % w, y = i / w;
            redInRow[y] += redCover(unlit.pixel(x, y), lit.pixel(x, y));
            const QPoint press = QPointF(x / dpr, y / dpr).toPoint();
            const QString answered = board.positionToNote(press.x(), press.y());
            if (answered != note && tally.firstWrong.isEmpty())
                tally.firstWrong =
                    QStringLiteral("%1 at pixel %2,%3 answers \"%4\"").arg(note).arg(x).arg(y).arg(answered);
            other = other || (!answered.isEmpty() && answered != note);
            nothing = nothing || answered.isEmpty();
            for (int ny = qMax(0, y - 1); ny <= qMin(h - 1, y + 1); ++ny) {
                for (int nx = qMax(0, x - 1); nx <= qMin(w - 1, x + 1); ++nx) {
                    if (changed[ny * w + nx] == 1) {
                        changed[ny * w + nx] = 2;
                        stack.append(ny * w + nx);
                    }
                }
            }
        }
        const double red = *std::max_element(redInRow.cbegin(), redInRow.cend());
        if (red < tally.narrowest) {
            tally.narrowest = red;
            tally.narrowestMark = QStringLiteral("%1 at pixel %2,%3").arg(note).arg(start % w).arg(start / w);
        }
        ++tally.marks;
        tally.answeringOther += other ? 1 : 0;
        tally.answeringNothing += nothing ? 1 : 0;
    }
}

} // namespace

void TestBoardPictures::everyMarkNamesItsStringPlusFret_data()
{
    QTest::addColumn<int>("tuning");
    for (int i = 0; i < int(std::size(kTunings)); ++i)
        QTest::newRow(kTunings[i].board) << i;
}

// For every mark the overlays draw: the string it lies on (the nearest drawn string) and its fret
// (the fret wires left of it; before the nut or over the body it is the open string) name a note
// by the instrument's tuning. That note must be the overlay's own, and pressing the mark's centre
// on the board must answer it, and so must a press on any pixel of any mark the board draws (also
// run at a pixel ratio of 2). So no table or picture can teach a wrong note.
void TestBoardPictures::everyMarkNamesItsStringPlusFret()
{
    QFETCH(int, tuning);
    const Tuning& t = kTunings[tuning];
    const BoardTable& table = BoardsUnderTest::tableOf(QString::fromLatin1(t.board));
    QCOMPARE(t.open.size(), table.stringCount);
    QVector<BoardTables::StringLine> lines(table.stringCount);
    for (int s = 0; s < table.stringCount; ++s) {
        if (!BoardTables::stringLine(table, s, &lines[s]))
            QVERIFY(BoardTables::stringLine(table, s, &lines[s], false));
    }
    const int wires = int(table.fretSpotCount);
    const double lastWire = BoardTables::fretWireX(table, std::size_t(wires - 1));

    withFrettedBoard(QString::fromLatin1(t.board), [&](auto& board) {
        board.show();
        int checked = 0;
        for (std::size_t l = 0; l < table.layerCount; ++l) {
            const QString layer = QString::fromLatin1(table.layerNames[l]);
            const QString ownNote = NoteName::boardFromLayer(layer);
            const QImage overlay(QStringLiteral(":/%1_%2@2x.png").arg(t.board, layer));
            // The overlay's marks and the bars the board draws, in the frame.
            QVector<QPointF> marks;
            for (const QPointF& m : marksOf(overlay))
                marks.append(QPointF(m.x() * 800.0 / overlay.width(), m.y() * 194.0 / overlay.height()));
            for (const BoardMarks::BarCells& bar : BoardGeometry::barsOf(table, ownNote))
                marks.append(QPointF((bar.left + bar.right) / 2.0, (bar.top + bar.bottom) / 2.0));
            int spots = 0;
            for (std::size_t i = 0; i < table.spotCount; ++i)
                spots += table.spots[i].marked && ownNote == QLatin1String(table.spots[i].note) ? 1 : 0;
            QVERIFY2(marks.size() == spots, qPrintable(QStringLiteral("%1: %2 marks drawn for %3 spots").arg(layer).arg(marks.size()).arg(spots)));
            for (const QPointF& m : marks) {
                const double fx = m.x();
                const double fy = m.y();
                int string = 0;
                for (int s = 1; s < table.stringCount; ++s) {
                    if (qAbs(lines[s].yAt(fx) - fy) < qAbs(lines[string].yAt(fx) - fy))
                        string = s;
                }
                int fret = 0;
                for (int k = 0; k < wires; ++k)
                    fret += BoardTables::fretWireX(table, std::size_t(k)) < fx ? 1 : 0;
                if (fx > lastWire)
                    fret = 0;   // over the body the string sounds open
                const bool shortString = t.shortStringFret > 0 && string == table.stringCount - 1;
                const int semitones = semitone(t.open.at(string)) + fret - (shortString ? t.shortStringFret : 0);
                const QString expected = boardFormOf(semitones);
                const QString where = QStringLiteral("%1 mark at %2,%3 on string %4 fret %5")
                                          .arg(layer).arg(fx, 0, 'f', 1).arg(fy, 0, 'f', 1).arg(string).arg(fret);
                QVERIFY2(expected == ownNote, qPrintable(where + " should be " + expected));
                // Down to the narrowest a board gets on a small screen.
                board.setMinimumWidth(400);
                for (int width : {400, 1000, 1600}) {
                    board.resize(width, 600);
                    QCOMPARE(board.width(), width);
                    QSignalSpy pressed(&board, &std::decay_t<decltype(board)>::noteChanged);
                    const QPoint press(qRound(fx * board.width() / 800.0), qRound(fy * board.height() / 194.0));
                    QTest::mouseClick(&board, Qt::LeftButton, {}, press);
                    QVERIFY2(pressed.count() == 1, qPrintable(where + " answers nothing"));
                    const QString answered =
                        NoteName::boardForm(pressed.first().at(0).toString(), pressed.first().at(1).toInt());
                    QVERIFY2(answered == expected, qPrintable(where + " answers " + answered));
                }
                ++checked;
            }
        }
        QVERIFY(checked > 0);

        // Not only the centre: every pixel a lit mark changes on the screen answers the mark's own
        // note, at the usual width and at the board's narrowest; and every mark shows its red at
        // least 3 pixels wide at the usual width and 2 at the narrowest (twice that at scale 2).
        board.setMinimumWidth(800);
        for (int width : {1200, 800}) {
            board.resize(width, 600);
            board.slotSetNote(QString(), 0);
            const QImage unlit = board.grab().toImage();
            MarkPixels tally;
            int spots = 0;
            for (std::size_t l = 0; l < table.layerCount; ++l) {
                const QString note = NoteName::boardFromLayer(QString::fromLatin1(table.layerNames[l]));
                for (std::size_t i = 0; i < table.spotCount; ++i)
                    spots += table.spots[i].marked && note == QLatin1String(table.spots[i].note) ? 1 : 0;
                board.slotSetNote(NoteName::naturalName(note), NoteName::boardAccidental(note));
                tallyMarkPixels(board, unlit, board.grab().toImage(), note, tally);
            }
            QVERIFY2(tally.marks == spots && tally.answeringOther == 0 && tally.answeringNothing == 0,
                     qPrintable(QStringLiteral("%1 px wide: %2 marks drawn for %3 spots, %4 reach another "
                                               "note, %5 reach no note; %6")
                                    .arg(width).arg(tally.marks).arg(spots).arg(tally.answeringOther)
                                    .arg(tally.answeringNothing).arg(tally.firstWrong)));
            const double least = (width == 1200 ? 3 : 2) * board.devicePixelRatioF();
            QVERIFY2(tally.narrowest >= least,
                     qPrintable(QStringLiteral("%1 shows its red %2 pixels wide")
                                    .arg(tally.narrowestMark).arg(tally.narrowest)));
        }
    });
}

// A bar fills the screen pixels whose press lands in its cells, found from the board's width and
// pixel ratio at paint time. So every pixel the overlay paints around a bar is pressed at every
// board width from 800 to 1100, at pixel ratios 1, 1.5 and 2, and must answer the bar's note; and
// each bar is at least two pixels wide (three at 1.5, four at 2) at every one of them.
void TestBoardPictures::barsAnswerAtEveryWidth()
{
    int bars = 0;
    for (const BoardTable* table : BoardTables::kAllBoards) {
        withFrettedBoard(QString::fromLatin1(table->name), [&](auto& board) {
            board.show();
            BoardView view(QString(), table);
            for (std::size_t i = 0; i < table->spotCount; ++i) {
                const BoardMarks::BarCells bar = BoardMarks::barCells(*table, i);
                if (!table->spots[i].marked || bar.isEmpty())
                    continue;
                ++bars;
                const QString note = QString::fromLatin1(table->spots[i].note);
                const QString layer = NoteName::layerFromBoard(note);
                const QString overlay = QStringLiteral(":/%1_%2@2x.png").arg(table->name, layer);
                // The bar and three frame units around it.
                const QRectF around(bar.left - 3, bar.top - 3, bar.right - bar.left + 6, bar.bottom - bar.top + 6);
                for (int width = 800; width <= 1100; ++width) {
                    board.resize(width, 600);
                    for (double ratio : {1.0, 1.5, 2.0}) {
                        const QRect area =
                            QTransform::fromScale(ratio * width / 800.0, ratio * board.height() / 194.0)
                                .mapRect(around)
                                .toAlignedRect();
                        QImage painted(area.size(), QImage::Format_ARGB32_Premultiplied);
                        painted.fill(0);
                        painted.setDevicePixelRatio(ratio);
                        QPainter painter(&painted);
                        painter.translate(-area.x() / ratio, -area.y() / ratio);
                        view.paintOverlay(painter, board.size(), overlay, layer);
                        painter.end();
                        int widest = 0;
                        for (int y = 0; y < area.height(); ++y) {
                            int inRow = 0;
                            for (int x = 0; x < area.width(); ++x) {
                                if (!qAlpha(painted.pixel(x, y)))
                                    continue;
                                ++inRow;
                                const QPoint press = (QPointF(area.topLeft() + QPoint(x, y)) / ratio).toPoint();
                                const QString answered = board.positionToNote(press.x(), press.y());
                                if (answered != note)
                                    QFAIL(qPrintable(QStringLiteral("%1 bar at %2,%3: a press at %4,%5 on a board %6 "
                                                                    "px wide at pixel ratio %7 answers \"%8\"")
                                                         .arg(note).arg(bar.left).arg(bar.top).arg(press.x())
                                                         .arg(press.y()).arg(width).arg(ratio).arg(answered)));
                            }
                            widest = qMax(widest, inRow);
                        }
                        if (widest < 2 * ratio)
                            QFAIL(qPrintable(QStringLiteral("%1 bar at %2,%3 is %4 px wide on a board %5 px wide at "
                                                            "pixel ratio %6")
                                                 .arg(note).arg(bar.left).arg(bar.top).arg(widest).arg(width)
                                                 .arg(ratio)));
                    }
                }
            }
        });
    }
    QVERIFY(bars > 0);
}

// The piano's keyboard picture draws each key where the key table puts it, each key's overlay
// lights that key and no neighbour, and pressing the middle of a key answers its note.
void TestBoardPictures::pianoKeysLieWhereTheyAnswer()
{
    const QImage keyboard = QImage(QStringLiteral(":/Piano_0@2x.jpg")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(keyboard.size(), QSize(2048, 497));
    PianoBoard piano;
    piano.show();
    piano.resize(1600, 800);
    const auto middle = [](const BoardTables::PianoKey& key) {
        return QPointF((key.lo + key.hi) / 2.0, key.black ? 95.0 : 125.0);
    };
    for (std::size_t i = 0; i < BoardTables::kPianoKeyCount; ++i) {
        const BoardTables::PianoKey& key = BoardTables::kPianoKeys[i];
        const QPointF c = middle(key);
        const QPoint pixel = picturePoint(int(c.x()), int(c.y()), keyboard.size());
        const int shade = qGray(keyboard.pixel(pixel));
        QVERIFY2(key.black ? shade < 70 : shade > 180, key.note);

        const QImage overlay = QImage(QStringLiteral(":/Piano_%1.png").arg(i + 1)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(overlay.size(), QSize(2048, 497));
        QVERIFY2(qAlpha(overlay.pixel(pixel)) == 255 && BoardGeometry::isMarked(overlay.pixel(pixel)), key.note);
        for (std::size_t n : {i - 1, i + 1}) {
            if (n < BoardTables::kPianoKeyCount) {
                const QPointF other = middle(BoardTables::kPianoKeys[n]);
                QVERIFY2(qAlpha(overlay.pixel(picturePoint(int(other.x()), int(other.y()), overlay.size()))) == 0, key.note);
            }
        }
        const QString note = piano.positionToNote(qRound(c.x() * 2), qRound(c.y() * 2));
        QCOMPARE(note, QString::fromLatin1(key.note));
        QCOMPARE(PianoBoard::keyNumber(NoteName::naturalName(note), NoteName::boardAccidental(note)), int(i + 1));
    }
}

void TestBoardPictures::trainingShowsOnePosition_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QVector<QPoint>>("positions");
    // E4 lies at well separated places on both; the banjo's A5# only high up, where its mark is a bar.
    QTest::newRow("banjo") << "Banjo" << "E4" << QVector<QPoint>{{170, 71}, {308, 80}, {456, 88}, {599, 100}};
    QTest::newRow("guitar") << "Guitar" << "E4"
                            << QVector<QPoint>{{106, 78}, {300, 89}, {438, 102}, {587, 116}, {706, 133}};
    QTest::newRow("banjo bar") << "Banjo" << "A5#" << QVector<QPoint>{{723, 65}};
}

void TestBoardPictures::trainingShowsOnePosition()
{
    QFETCH(QString, board);
    QFETCH(QString, note);
    QFETCH(QVector<QPoint>, positions);
    withFrettedBoard(board, [&](auto& w) {
        w.show();
        w.resize(1200, 400);
        w.slotSetNote(NoteName::naturalName(note), NoteName::boardAccidental(note));
        QCOMPARE(litPositions(w.grab().toImage(), positions), positions.size());

        w.slotSetInTraining(true);
        QSet<int> shown;
        for (int i = 0; i < 12; ++i) {
            const QImage shot = w.grab().toImage();
            QCOMPARE(litPositions(shot, positions), 1);
            for (int k = 0; k < positions.size(); ++k) {
                if (litPositions(shot, {positions.at(k)}))
                    shown.insert(k);
            }
            QTest::qWait(7);
        }
        QVERIFY2(shown.size() > 1 || positions.size() == 1, "training should not always show the same position");

        w.slotSetNote("", 0);
        QCOMPARE(litPositions(w.grab().toImage(), positions), 0);
    });
}

// A board keeps of each overlay only the tiles around its marks, never the whole decoded picture:
// after every overlay of every board has been cut, the tiles together stay a small fraction of what
// the decoded overlays would take.
void TestBoardPictures::overlaysAreKeptAsSmallTiles()
{
    QStringList paths;
    for (const QString& name : BoardsUnderTest::frettedBoards())
        withFrettedBoard(name, [&](auto& board) { paths += board.layerMap().values(); });
    paths += PianoBoard().layerMap().values();
    paths.removeDuplicates();
    OverlayTiles::preload(paths);
    QTRY_COMPARE_WITH_TIMEOUT(OverlayTiles::use().layers, paths.size(), 60000);
    for (const QString& path : qAsConst(paths))
        QVERIFY2(OverlayTiles::isCut(path), qPrintable(path));
    const int layers = paths.size();
    const qint64 decodedOverlay = 2048LL * 497 * 4;
    const qint64 bytes = OverlayTiles::use().bytes;
    qInfo("%d overlays kept in %.1f MB of tiles (%.1f KB each)", layers, bytes / 1048576.0,
          bytes / 1024.0 / layers);
    QVERIFY(bytes > 0);
    QVERIFY2(bytes < layers * decodedOverlay / 20, "overlays should be kept as small tiles only");
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
