// The boards' plain arithmetic and tables, without a window: frame mapping, the hot-spot box and
// walk, the single-position search of training, and that the drawing geometry (string lines, fret
// wires) agrees with the hot spots that clicks hit.
#include "RIRurud/BoardGeometry.h"
#include "RIRurud/BoardMarks.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/NoteName.h"

#include <QImage>
#include <QSet>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using BoardTables::BoardTable;

Q_DECLARE_METATYPE(const BoardTable*)

class TestBoardGeometry : public QObject
{
    Q_OBJECT

private slots:
    void frameMappingTruncatesInSinglePrecision_data();
    void frameMappingTruncatesInSinglePrecision();
    void boxEdgesAreInclusive_data();
    void boxEdgesAreInclusive();
    void walkAnswersTheFirstHit_data();
    void walkAnswersTheFirstHit();
    void tablesAgreeWithTheirLists_data();
    void tablesAgreeWithTheirLists();
    void marksLieOnTheDrawnStringsAndFrets_data();
    void marksLieOnTheDrawnStringsAndFrets();
    void markedColumnSearch_data();
    void markedColumnSearch();
    void bandKeepsOnlyTheColumnsAroundTheMark();
    void visibleRegionsCoverEveryVisiblePixel();
};

void TestBoardGeometry::frameMappingTruncatesInSinglePrecision_data()
{
    QTest::addColumn<QPoint>("widget");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("frame");
    QTest::newRow("1000 wide: 79.2 truncates to 79") << QPoint(99, 0) << QSize(1000, 242) << QPoint(79, 0);
    QTest::newRow("frame size is identity") << QPoint(786, 133) << QSize(800, 194) << QPoint(786, 133);
    QTest::newRow("double size halves") << QPoint(1573, 267) << QSize(1600, 388) << QPoint(786, 133);
    QTest::newRow("y scales by 194") << QPoint(0, 241) << QSize(1000, 242) << QPoint(0, 193);
    QTest::newRow("empty widget maps to origin") << QPoint(50, 50) << QSize(0, 0) << QPoint(0, 0);
}

void TestBoardGeometry::frameMappingTruncatesInSinglePrecision()
{
    QFETCH(QPoint, widget);
    QFETCH(QSize, size);
    QFETCH(QPoint, frame);
    QCOMPARE(BoardGeometry::toFrame(widget.x(), widget.y(), size.width(), size.height()), frame);
}

void TestBoardGeometry::boxEdgesAreInclusive_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inside");
    QTest::newRow("top-left corner") << QPoint(84, 45) << true;
    QTest::newRow("bottom-right corner") << QPoint(115, 54) << true;
    QTest::newRow("left of the box") << QPoint(83, 50) << false;
    QTest::newRow("right of the box") << QPoint(116, 50) << false;
    QTest::newRow("above the box") << QPoint(100, 44) << false;
    QTest::newRow("below the box") << QPoint(100, 55) << false;
}

void TestBoardGeometry::boxEdgesAreInclusive()
{
    QFETCH(QPoint, point);
    QFETCH(bool, inside);
    QCOMPARE(BoardGeometry::isInBox(100, 50, point), inside);
}

void TestBoardGeometry::walkAnswersTheFirstHit_data()
{
    QTest::addColumn<const BoardTable*>("table");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QString>("note");
    const BoardTable* bal = &BoardTables::kBalalaika;
    const BoardTable* ban = &BoardTables::kBanjo;
    const BoardTable* man = &BoardTables::kMandolin;
    for (const BoardTable* t : {bal, ban, man})
        QTest::addRow("%s: far corner misses", t->name) << t << QPoint(10, 10) << QString();
    QTest::newRow("balalaika: edge low") << bal << QPoint(111, 121) << "E4";
    QTest::newRow("balalaika: edge high") << bal << QPoint(142, 130) << "E4";
    QTest::newRow("balalaika: between E strings") << bal << QPoint(440, 113) << QString();
    QTest::newRow("balalaika: E4 shadows B5") << bal << QPoint(775, 98) << "E4";
    QTest::newRow("balalaika: E4 shadows B5 low") << bal << QPoint(770, 133) << "E4";
    QTest::newRow("balalaika: C6 before C6#") << bal << QPoint(695, 64) << "C6";
    QTest::newRow("balalaika: C6# alone") << bal << QPoint(700, 64) << "C6#";
    QTest::newRow("banjo: D3 edge low") << ban << QPoint(64, 94) << "D3";
    QTest::newRow("banjo: D3 edge high") << ban << QPoint(95, 103) << "D3";
    QTest::newRow("banjo: left of D3") << ban << QPoint(63, 94) << QString();
    QTest::newRow("banjo: above D3 in a gap") << ban << QPoint(80, 93) << QString();
    QTest::newRow("banjo: short string") << ban << QPoint(500, 112) << "G4";
    QTest::newRow("banjo: short string over drum") << ban << QPoint(795, 113) << "G4";
    QTest::newRow("banjo: gap on the short string") << ban << QPoint(326, 111) << QString();
    QTest::newRow("banjo: B3 over the drum shadows A5") << ban << QPoint(765, 78) << "B3";
    QTest::newRow("banjo: A5 at fret 19") << ban << QPoint(705, 65) << "A5";
    QTest::newRow("banjo: A5 shadows A5# at fret 20") << ban << QPoint(718, 64) << "A5";
    QTest::newRow("banjo: A5# at fret 20") << ban << QPoint(723, 64) << "A5#";
    QTest::newRow("banjo: C6 at fret 22") << ban << QPoint(757, 65) << "C6";
    QTest::newRow("banjo: G5# at fret 21 of the B3 string") << ban << QPoint(741, 77) << "G5#";
    QTest::newRow("banjo: D3 shadows C5") << ban << QPoint(770, 100) << "D3";
    QTest::newRow("banjo: C5 alone") << ban << QPoint(760, 100) << "C5";
    QTest::newRow("mandolin: G3 edge low") << man << QPoint(174, 106) << "G3";
    QTest::newRow("mandolin: G3 edge high") << man << QPoint(205, 115) << "G3";
    QTest::newRow("mandolin: above G3") << man << QPoint(174, 105) << QString();
    QTest::newRow("mandolin: between courses") << man << QPoint(300, 90) << QString();
    QTest::newRow("mandolin: two G3 boxes") << man << QPoint(735, 129) << "G3";
    QTest::newRow("mandolin: last G3 box") << man << QPoint(796, 129) << "G3";
    QTest::newRow("mandolin: G3 shadows C5") << man << QPoint(710, 129) << "G3";
    QTest::newRow("mandolin: C5 alone") << man << QPoint(700, 130) << "C5";
    QTest::newRow("mandolin: E5 shadows A6") << man << QPoint(710, 62) << "E5";
    QTest::newRow("mandolin: G6# shadows A6") << man << QPoint(690, 63) << "G6#";
    QTest::newRow("mandolin: A6 last") << man << QPoint(700, 63) << "A6";
    // The four boards of the other pages: edges and the overlaps their walk order settles.
    const BoardTable* gui = &BoardTables::kGuitar;
    const BoardTable* uku = &BoardTables::kUkulele;
    const BoardTable* vio = &BoardTables::kViolin;
    const BoardTable* bas = &BoardTables::kBass;
    QTest::newRow("guitar: E2 corner") << gui << QPoint(88, 127) << "E2";
    QTest::newRow("guitar: E2 far corner") << gui << QPoint(119, 136) << "E2";
    QTest::newRow("guitar: left of E2") << gui << QPoint(87, 127) << QString();
    QTest::newRow("guitar: below E2") << gui << QPoint(88, 137) << QString();
    QTest::newRow("guitar: end beats fret 22") << gui << QPoint(775, 148) << "E2";
    QTest::newRow("guitar: D4 beats C4#") << gui << QPoint(760, 148) << "D4";
    QTest::newRow("guitar: B3 beats E4") << gui << QPoint(105, 82) << "B3";
    QTest::newRow("guitar: G3 beats G3#") << gui << QPoint(125, 100) << "G3";
    QTest::newRow("guitar: G2 beats C3") << gui << QPoint(220, 129) << "G2";
    QTest::newRow("guitar: D3 beats D3#") << gui << QPoint(485, 140) << "D3";
    QTest::newRow("guitar: E4 end at the edge") << gui << QPoint(799, 69) << "E4";
    QTest::newRow("guitar: between strings") << gui << QPoint(300, 107) << QString();
    QTest::newRow("ukulele: A4 corner") << uku << QPoint(76, 62) << "A4";
    QTest::newRow("ukulele: left of A4") << uku << QPoint(75, 62) << QString();
    QTest::newRow("ukulele: C4 over D5#") << uku << QPoint(680, 120) << "C4";
    QTest::newRow("ukulele: G5 over F5#") << uku << QPoint(510, 64) << "G5";
    QTest::newRow("ukulele: B5 over C6") << uku << QPoint(655, 64) << "B5";
    QTest::newRow("ukulele: C5") << uku << QPoint(573, 119) << "C5";
    QTest::newRow("ukulele: G4 over the body") << uku << QPoint(745, 149) << "G4";
    QTest::newRow("ukulele: between strings") << uku << QPoint(300, 100) << QString();
    QTest::newRow("violin: G3 corner") << vio << QPoint(169, 109) << "G3";
    QTest::newRow("violin: right of G3") << vio << QPoint(201, 114) << QString();
    QTest::newRow("violin: D4 open") << vio << QPoint(185, 97) << "D4";
    QTest::newRow("violin: D4 stopped") << vio << QPoint(582, 125) << "D4";
    QTest::newRow("violin: between strings") << vio << QPoint(185, 106) << QString();
    QTest::newRow("bass: E1 corner") << bas << QPoint(57, 98) << "E1";
    QTest::newRow("bass: below E1") << bas << QPoint(73, 108) << QString();
    QTest::newRow("bass: E1 over C3") << bas << QPoint(770, 112) << "E1";
    QTest::newRow("bass: C3") << bas << QPoint(760, 114) << "C3";
    QTest::newRow("bass: D4 over C4#") << bas << QPoint(720, 59) << "D4";
    QTest::newRow("bass: C4# left of D4") << bas << QPoint(715, 59) << "C4#";
    QTest::newRow("bass: F3 over F3#") << bas << QPoint(522, 60) << "F3";
    QTest::newRow("bass: G2 at the edge") << bas << QPoint(785, 56) << "G2";
}

void TestBoardGeometry::walkAnswersTheFirstHit()
{
    QFETCH(const BoardTable*, table);
    QFETCH(QPoint, point);
    QFETCH(QString, note);
    QCOMPARE(BoardGeometry::noteAt(*table, point), note);
}

void TestBoardGeometry::tablesAgreeWithTheirLists_data()
{
    QTest::addColumn<const BoardTable*>("table");
    QTest::addColumn<int>("spots");
    QTest::addColumn<int>("notes");
    QTest::addColumn<int>("overlaps");
    QTest::newRow("balalaika") << &BoardTables::kBalalaika << 63 << 25 << 32;
    QTest::newRow("banjo") << &BoardTables::kBanjo << 115 << 35 << 66;
    QTest::newRow("mandolin") << &BoardTables::kMandolin << 84 << 39 << 45;
    QTest::newRow("guitar") << &BoardTables::kGuitar << 144 << 47 << 83;
    QTest::newRow("ukulele") << &BoardTables::kUkulele << 79 << 25 << 21;
    QTest::newRow("violin") << &BoardTables::kViolin << 32 << 29 << 0;
    QTest::newRow("bass") << &BoardTables::kBass << 88 << 36 << 41;
}

// Every note a click can answer has an overlay and may be asked in training, and nothing else.
void TestBoardGeometry::tablesAgreeWithTheirLists()
{
    QFETCH(const BoardTable*, table);
    QFETCH(int, spots);
    QFETCH(int, notes);
    QCOMPARE(int(table->spotCount), spots);
    QSet<QString> answered;
    for (std::size_t i = 0; i < table->spotCount; ++i)
        answered.insert(QString::fromLatin1(table->spots[i].note));
    QSet<QString> layers, training;
    for (std::size_t i = 0; i < table->layerCount; ++i)
        layers.insert(NoteName::boardFromLayer(QString::fromLatin1(table->layerNames[i])));
    for (std::size_t i = 0; i < table->trainingCount; ++i)
        training.insert(QString::fromLatin1(table->trainingNotes[i]));
    QCOMPARE(answered.size(), notes);
    QCOMPARE(layers, answered);
    QCOMPARE(training, answered);
    QCOMPARE(int(table->layerCount), notes);
    QCOMPARE(int(table->trainingCount), notes);

    // Pairs of spots of different notes whose boxes meet, where the walk order decides: a
    // mistyped centre almost always changes this count.
    int overlaps = 0;
    for (std::size_t i = 0; i < table->spotCount; ++i) {
        for (std::size_t j = i + 1; j < table->spotCount; ++j) {
            const BoardTables::HotSpot& a = table->spots[i];
            const BoardTables::HotSpot& b = table->spots[j];
            if (qstrcmp(a.note, b.note) != 0 && qAbs(a.x - b.x) <= 31 && qAbs(a.y - b.y) <= 9)
                ++overlaps;
        }
    }
    QTEST(overlaps, "overlaps");
}

void TestBoardGeometry::marksLieOnTheDrawnStringsAndFrets_data()
{
    tablesAgreeWithTheirLists_data();
}

// The pictures draw each string along its fitted line, the fret wires halfway between the fret
// spots and each mark at markPlace(). A mark must touch its drawn string, pressing its middle must
// answer its note (also where an earlier spot's box covers the spot's centre), and it must lie
// between the two wires of its fret; else the picture would lie about where to press.
void TestBoardGeometry::marksLieOnTheDrawnStringsAndFrets()
{
    QFETCH(const BoardTable*, table);
    const double nut = BoardTables::fretWireX(*table, 0);
    const double last = BoardTables::fretWireX(*table, table->fretSpotCount - 1);
    int marks = 0;
    for (std::size_t i = 0; i < table->spotCount; ++i) {
        const BoardTables::HotSpot& spot = table->spots[i];
        if (!spot.marked)
            continue;
        ++marks;
        const QString centre = QStringLiteral("%1,%2").arg(spot.x).arg(spot.y);
        const QString where = QStringLiteral("%1 at %2").arg(spot.note, centre);
        QVERIFY2(spot.string >= 0 && spot.string < table->stringCount, qPrintable(where));
        const BoardMarks::MarkPlace mark = BoardMarks::markPlace(*table, i);
        BoardTables::StringLine line;
        if (BoardTables::stringLine(*table, spot.string, &line)) {
            // The drawn string is about a unit wide.
            const double off = mark.y - line.yAt(mark.x);
            QVERIFY2(qAbs(off) <= mark.ry + 0.5,
                     qPrintable(where + QStringLiteral(": mark %1 off its string").arg(off)));
        }
        QVERIFY2(BoardGeometry::noteAt(*table, QPoint(int(mark.x), int(mark.y))) == QLatin1String(spot.note),
                 qPrintable(where));

        // Open-string spots lie before the nut or, over the body, past the last fret; every other
        // mark lies between two wires of the fingerboard, at least two units from either.
        if (mark.x < nut)
            continue;
        if (mark.x > last) {
            QString open;
            for (std::size_t j = 0; j < table->spotCount && open.isEmpty(); ++j) {
                if (table->spots[j].string == spot.string && table->spots[j].x < nut)
                    open = QString::fromLatin1(table->spots[j].note);
            }
            QVERIFY2(open == QLatin1String(spot.note), qPrintable(where + " lies beyond the last fret"));
            continue;
        }
        bool betweenWires = false;
        for (std::size_t k = 0; k + 1 < table->fretSpotCount; ++k) {
            const double a = BoardTables::fretWireX(*table, k);
            const double b = BoardTables::fretWireX(*table, k + 1);
            if (mark.x >= a + 2 && mark.x <= b - 2)
                betweenWires = true;
        }
        QVERIFY2(betweenWires, qPrintable(where + " lies on a fret wire"));
    }
    QVERIFY(marks > 0);
}

static QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void TestBoardGeometry::markedColumnSearch_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("found");

    QImage leftMark = blank(100, 10);
    leftMark.setPixel(20, 3, qRgba(200, 0, 0, 255));
    leftMark.setPixel(25, 3, qRgba(200, 0, 0, 255));
    QTest::newRow("leftwards from the column, nearest pixel") << leftMark << 60 << 25;

    QImage rightOnly = blank(100, 10);
    rightOnly.setPixel(80, 5, qRgba(0, 0, 200, 255));
    QTest::newRow("only right of the column: second pass") << rightOnly << 30 << 80;

    QImage lastRow = blank(100, 10);
    lastRow.setPixel(10, 1, qRgba(200, 0, 0, 255));
    lastRow.setPixel(40, 8, qRgba(200, 0, 0, 255));
    QTest::newRow("the last row with a hit decides") << lastRow << 50 << 40;

    QImage columnZero = blank(100, 10);
    columnZero.setPixel(0, 2, qRgba(200, 0, 0, 255));
    columnZero.setPixel(70, 2, qRgba(200, 0, 0, 255));
    QTest::newRow("a hit in column 0 looks right too") << columnZero << 50 << 70;

    QImage green = blank(100, 10);
    green.setPixel(30, 4, qRgba(0, 255, 0, 255));
    green.setPixel(31, 4, qRgba(50, 200, 50, 255));
    QTest::newRow("green and dim pixels are not marks") << green << 50 << -1;

    QTest::newRow("no mark at all") << blank(100, 10) << 50 << -1;
    QTest::newRow("empty image") << QImage() << 0 << -1;

    // Premultiplied pixels count by their straight colour: a faint red edge is still a mark, and
    // a faint dark one is not.
    QImage premultiplied = blank(100, 10);
    premultiplied.setPixel(45, 4, qRgba(200, 0, 0, 40));
    premultiplied.setPixel(60, 4, qRgba(40, 40, 40, 200));
    QTest::newRow("premultiplied, faint red edge") << premultiplied.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                                  << 90 << 45;
    QImage indexed = blank(100, 10);
    indexed.setPixel(45, 4, qRgba(200, 0, 0, 255));
    QTest::newRow("other formats are converted") << indexed.convertToFormat(QImage::Format_RGB16) << 90 << 45;
}

void TestBoardGeometry::markedColumnSearch()
{
    QFETCH(QImage, image);
    QFETCH(int, column);
    QFETCH(int, found);
    QCOMPARE(BoardGeometry::markedColumn(image, column), found);
}

void TestBoardGeometry::bandKeepsOnlyTheColumnsAroundTheMark()
{
    // At pixel ratio 2 the band is 80 columns either side: int(found - 80) .. int(found + 80).
    const BoardGeometry::Band band = BoardGeometry::bandAround(500, 2.0, 2048);
    QCOMPARE(band.left, 420);
    QCOMPARE(band.right, 580);
    // Nothing found: the band runs from column 0 to int(-1 + 40) at ratio 1.
    const BoardGeometry::Band none = BoardGeometry::bandAround(-1, 1.0, 2048);
    QCOMPARE(none.left, 0);
    QCOMPARE(none.right, 39);
    const BoardGeometry::Band edge = BoardGeometry::bandAround(2040, 1.0, 2048);
    QCOMPARE(edge.right, 2048);

    // A board-sized overlay with marks inside and outside the band, in the formats a loaded
    // picture comes in.
    for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage image(2048, 497, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        for (int x : {100, 760, 790, 831, 832, 1500})
            for (int y = 200; y < 230; ++y)
                image.setPixel(x, y, qRgba(224, 60, 49, 255));
        image = image.convertToFormat(format);
        BoardGeometry::keepBand(image, BoardGeometry::bandAround(792, 1.0, image.width()));
        for (int x : {100, 760, 790, 831, 832, 1500}) {
            const bool kept = x >= 752 && x < 832;
            QVERIFY2(qAlpha(image.pixel(x, 210)) == (kept ? 255 : 0), qPrintable(QString::number(x)));
        }
    }
}

void TestBoardGeometry::visibleRegionsCoverEveryVisiblePixel()
{
    QImage image = blank(300, 120);
    const QList<QPoint> marks = {{20, 20}, {21, 21}, {150, 60}, {290, 110}, {47, 20}};
    for (const QPoint& p : marks)
        image.setPixel(p, qRgba(200, 10, 10, 30));
    const QVector<QRect> regions = BoardGeometry::visibleRegions(image);
    for (const QPoint& p : marks) {
        bool covered = false;
        for (const QRect& r : regions)
            covered = covered || r.contains(p);
        QVERIFY2(covered, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
    // Separate marks stay separate rectangles, and they stay small.
    QCOMPARE(regions.size(), 3);
    for (const QRect& r : regions)
        QVERIFY(r.width() <= 52 && r.height() <= 20);
    QVERIFY(BoardGeometry::visibleRegions(blank(50, 50)).isEmpty());
    QVERIFY(BoardGeometry::visibleRegions(QImage()).isEmpty());
}

TONARIX_TEST_MAIN(TestBoardGeometry)
#include "tst_BoardGeometry.moc"
