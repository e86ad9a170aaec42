// The introduction slides teach what the program does: on the slides that light a note's positions
// (hovering the staff) or click one (clicking the board), every mark lies on a position of the
// banjo where that note really sounds, by the strings' tuning plus the fret, and the hover slide
// lights all of them; the note stands on the staff where the staff puts it; the training slide's
// position is its note's, and the next slide presses that note's key. Read back from the
// slides in the bundle, in every language and at both densities.
#include "SlideLayout.h"

#include "TestMain.h"

#include "RIRurud/BoardTables.h"

#include <QImage>
#include <QSet>

namespace {

namespace tables = RIRurud::BoardTables;
namespace slides = imagegen::slides;

// The banjo's long strings from the top of the picture, as MIDI numbers: D4, B3, G3, D3.
constexpr int kOpenString[] = {62, 59, 55, 50};
constexpr int kShownNote = 64;      // E4, the note of the hover and click slides
constexpr int kTrainingNote = 73;   // C5#, the position the trainer asks for, answered on the next slide

using Position = QPair<int, int>;   // string, fret

bool red(QRgb p)
{
    return qRed(p) > 140 && qRed(p) > 2 * qGreen(p) && qRed(p) > 2 * qBlue(p);
}

// The positions a slide marks: each string's line crossing each fret, looked at closely.
QSet<Position> markedPositions(const QImage& slide, int scale)
{
    const tables::BoardTable& banjo = tables::kBanjo;
    QSet<Position> marked;
    for (int s = 0; s < 4; ++s) {
        tables::StringLine line;
        tables::stringLine(banjo, s, &line);
        for (int f = 0; f < int(banjo.fretSpotCount); ++f) {
            const double fx = banjo.fretSpots[f];
            const int x = int(slides::kNeck.x(fx) * scale), y = int(slides::kNeck.y(line.yAt(fx)) * scale);
            int hits = 0;
            for (int dy = -3 * scale; dy <= 3 * scale; ++dy)
                for (int dx = -3 * scale; dx <= 3 * scale; ++dx)
                    hits += red(slide.pixel(x + dx, y + dy)) ? 1 : 0;
            if (hits > 20 * scale * scale)
                marked.insert({s, f});
        }
    }
    return marked;
}

// How much of the band between rows y0 and y1 (slide units) around the staff's centre is ink.
int ink(const QImage& slide, int scale, double y0, double y1, double halfWidth)
{
    int dark = 0;
    const double cx = slides::kStaff.centreX();
    for (int y = int(y0 * scale); y <= int(y1 * scale); ++y)
        for (int x = int((cx - halfWidth) * scale); x <= int((cx + halfWidth) * scale); ++x)
            dark += qGray(slide.pixel(x, y)) < 100 ? 1 : 0;
    return dark;
}

} // namespace

class TestSlides : public QObject
{
    Q_OBJECT
private slots:
    void positionsAndNote_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("slide");
        for (const char* language : {"en", "de", "ru"}) {
            for (int scale : {1, 2}) {
                for (int slide : {2, 3, 4, 5}) {
                    const QString name = QStringLiteral("TXLSlide%1_%2%3.jpg").arg(slide).arg(language).arg(scale == 2 ? "@2x" : "");
                    QTest::newRow(qPrintable(name)) << QStringLiteral(TONARIX_RESOURCES_DIR) + name << scale << slide;
                }
            }
        }
    }
    void positionsAndNote()
    {
        QFETCH(QString, path);
        QFETCH(int, scale);
        QFETCH(int, slide);
        const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(slides::kWidth, slides::kHeight) * scale);
        if (slide == 5) {
            // The key pressed (the one tinted like a hovered key) answers the question of slide 4.
            const slides::KeysView& keys = slides::kKeys;
            QVector<int> pressed;
            for (int s = 0; s < 12; ++s) {
                const QRgb p = image.pixel(int((keys.left(s) + keys.pitch / 2) * scale), int((keys.top(s) + 8) * scale));
                if (qBlue(p) > qRed(p) + 25)
                    pressed << s;
            }
            QCOMPARE(pressed, QVector<int>{kTrainingNote % 12});
            return;
        }
        const int note = slide == 4 ? kTrainingNote : kShownNote;

        QSet<Position> where;
        for (int s = 0; s < 4; ++s) {
            const int fret = note - kOpenString[s];
            if (fret >= 0 && fret < int(tables::kBanjo.fretSpotCount))
                where.insert({s, fret});
        }
        const QSet<Position> marked = markedPositions(image, scale);
        for (const Position& p : marked)
            QVERIFY2(where.contains(p), qPrintable(QStringLiteral("string %1 fret %2 is not MIDI %3").arg(p.first).arg(p.second).arg(note)));
        QCOMPARE(marked.size(), slide == 2 ? where.size() : 1);
        if (slide == 4)
            return;

        // E4 is the treble staff's bottom line: the head lies across line 14 and leaves the space
        // above line 13's neighbourhood (where F4 would reach) clear.
        const slides::StaffView& staff = slides::kStaff;
        const double lh = staff.lineHeight;
        QVERIFY(ink(image, scale, staff.lineY(14) + 0.15 * lh, staff.lineY(14) + 0.4 * lh, 0.6 * lh) > 10 * scale * scale);
        QVERIFY(ink(image, scale, staff.lineY(14) - 0.4 * lh, staff.lineY(14) - 0.15 * lh, 0.6 * lh) > 10 * scale * scale);
        QCOMPARE(ink(image, scale, staff.lineY(13) + 0.1 * lh, staff.lineY(13) + 0.35 * lh, 0.6 * lh), 0);
    }
};

TONARIX_TEST_MAIN(TestSlides)
#include "tst_Slides.moc"
