#include "RIRurud/NoteName.h"
#include "RIRurud/StaffGeometry.h"

#include "TestMain.h"

using namespace RIRurud;
using namespace RIRurud::StaffGeometry;

namespace {

QString instrumentTag(const StaffTables::Instrument& instrument)
{
    return QString::fromLatin1(instrument.name);
}

} // namespace

class TestStaffGeometry : public QObject
{
    Q_OBJECT
private slots:
    void tablesAreContiguousAndFalling();
    void referenceRowsSitInTheirOwnBand();
    void namePosScaling_data();
    void namePosScaling();
    void instrumentNameMatching_data();
    void instrumentNameMatching();
    void rebuildKeepsOtherInstrumentsEntries();
    void halfLineUnderPointer_data();
    void halfLineUnderPointer();
    void halfLineNamesRoundTrip();
    void bandCentreNamesItsNoteAtEveryHeight();
};

// Each table lists every natural note of its range once, lowest first, with rows that rise up the
// staff as the pitch rises, inside the widget at the reference height.
void TestStaffGeometry::tablesAreContiguousAndFalling()
{
    const QMap<QString, int> counts = {{"piano", 52}, {"ukulele", 15}, {"guitar", 28}, {"bass", 21},
                                       {"violin", 17}, {"mandolin", 23}, {"banjo", 21},
                                       {"balalaika", 15}};
    QCOMPARE(int(StaffTables::kInstrumentCount), counts.size());
    for (const StaffTables::Instrument& instrument : StaffTables::kInstruments) {
        const QString tag = instrumentTag(instrument);
        QCOMPARE(int(instrument.count), counts.value(tag));
        for (std::size_t r = 0; r < instrument.count; ++r) {
            const StaffTables::Row& row = instrument.rows[r];
            QVERIFY2(row.pos >= 15 && row.pos <= 322, qPrintable(tag + " " + rowName(row)));
            QCOMPARE(row.pos, float(int(row.pos)));
            if (r == 0)
                continue;
            const StaffTables::Row& below = instrument.rows[r - 1];
            QVERIFY2(halfLineOf(rowName(row)) == halfLineOf(rowName(below)) - 1,
                     qPrintable(tag + " gap before " + rowName(row)));
            QVERIFY2(row.pos < below.pos, qPrintable(tag + " not falling at " + rowName(row)));
        }
    }
}

// At the reference height every stored row, under the page's staff layout, names its own note.
void TestStaffGeometry::referenceRowsSitInTheirOwnBand()
{
    for (const StaffTables::Instrument& instrument : StaffTables::kInstruments) {
        const StaffTables::Layout& layout = instrument.layout;
        const float lh = lineHeight(324, layout.paperHeightFactor, layout.lines);
        for (std::size_t r = 0; r < instrument.count; ++r) {
            const StaffTables::Row& row = instrument.rows[r];
            const int p = halfLineAt(int(row.pos), lh, layout.translateLines);
            QVERIFY2(nameOfHalfLine(p) == rowName(row),
                     qPrintable(instrumentTag(instrument) + " " + rowName(row) + " reads "
                                + nameOfHalfLine(p)));
            QVERIFY(!aboveUpperLimit(noteTop(p, lh, layout.translateLines), layout.startLine, lh,
                                     layout.translateLines));
        }
    }
}

void TestStaffGeometry::namePosScaling_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("row");

    QTest::newRow("reference C4") << "piano" << 324 << "C4" << 184;
    QTest::newRow("reference lowest") << "piano" << 324 << "A0" << 322;
    QTest::newRow("reference highest") << "piano" << 324 << "C8" << 15;
    QTest::newRow("double") << "piano" << 648 << "C4" << 368;
    QTest::newRow("truncated not rounded") << "piano" << 100 << "C4" << 56;
    QTest::newRow("single precision product") << "Ukulele" << 450 << "C5" << 249;
    QTest::newRow("zero height") << "Banjo" << 0 << "D3" << 0;
    QTest::newRow("banjo top") << "Banjo" << 324 << "C6" << 75;
    QTest::newRow("balalaika bottom") << "Balalaika" << 324 << "E4" << 268;
    QTest::newRow("mandolin G4 at 300") << "Mandolin" << 300 << "G4" << 200;
}

void TestStaffGeometry::namePosScaling()
{
    QFETCH(QString, instrument);
    QFETCH(int, height);
    QFETCH(QString, note);
    QFETCH(int, row);
    QMap<QString, int> namePos;
    fillNamePos(namePos, instrument, height);
    QVERIFY(namePos.contains(note));
    QCOMPARE(namePos.value(note), row);
}

void TestStaffGeometry::instrumentNameMatching_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("entries");

    QTest::newRow("capitalised") << "Piano" << 52;
    QTest::newRow("upper case") << "PIANO" << 52;
    QTest::newRow("lower case") << "piano" << 52;
    QTest::newRow("trailing space") << "piano " << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("unknown") << "Lute" << 0;
    QTest::newRow("balalaika") << "Balalaika" << 15;
}

void TestStaffGeometry::instrumentNameMatching()
{
    QFETCH(QString, name);
    QFETCH(int, entries);
    QMap<QString, int> namePos;
    fillNamePos(namePos, name, 324);
    QCOMPARE(namePos.size(), entries);
    QCOMPARE(tableFor(name) != nullptr, entries > 0);
}

void TestStaffGeometry::rebuildKeepsOtherInstrumentsEntries()
{
    QMap<QString, int> namePos;
    fillNamePos(namePos, "piano", 324);
    fillNamePos(namePos, "Ukulele", 648);
    QCOMPARE(namePos.value("A0"), 322);         // the piano's, untouched
    QCOMPARE(namePos.value("C4"), 2 * 293);     // overwritten by the ukulele's
    QCOMPARE(namePos.size(), 52);
    fillNamePos(namePos, "nothing", 100);       // an unknown name touches nothing
    QCOMPARE(namePos.value("C4"), 2 * 293);
}

void TestStaffGeometry::halfLineUnderPointer_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("factor");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("translate");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("name");

    // Default staff 270 high: ten pixels a line.
    QTest::newRow("C4 band top") << 270 << 1.0f << 27 << 0 << 150 << "C4";
    QTest::newRow("C4 band bottom") << 270 << 1.0f << 27 << 0 << 154 << "C4";
    QTest::newRow("D4 above") << 270 << 1.0f << 27 << 0 << 149 << "D4";
    QTest::newRow("D4 band top") << 270 << 1.0f << 27 << 0 << 145 << "D4";
    QTest::newRow("top row") << 270 << 1.0f << 27 << 0 << 0 << "E8";
    QTest::newRow("top band") << 270 << 1.0f << 27 << 0 << 4 << "E8";
    QTest::newRow("bottom row") << 270 << 1.0f << 27 << 0 << 269 << "A0";
    // Ukulele page layout at 324 (32.4 a line, shifted six lines up).
    QTest::newRow("ukulele C4") << 324 << 1.6f << 16 << 6 << 293 << "C4";
    QTest::newRow("ukulele D6") << 324 << 1.6f << 16 << 6 << 49 << "D6";
}

void TestStaffGeometry::halfLineUnderPointer()
{
    QFETCH(int, height);
    QFETCH(float, factor);
    QFETCH(int, lines);
    QFETCH(int, translate);
    QFETCH(int, y);
    QFETCH(QString, name);
    const float lh = lineHeight(height, factor, lines);
    QCOMPARE(nameOfHalfLine(halfLineAt(y, lh, translate)), name);
}

void TestStaffGeometry::halfLineNamesRoundTrip()
{
    QCOMPARE(halfLineOf("C4"), kC4HalfLine);
    QCOMPARE(nameOfHalfLine(0), QString("E8"));
    QCOMPARE(nameOfHalfLine(-4), QString("B8"));
    QCOMPARE(nameOfHalfLine(58), QString("C0"));
    QVERIFY(nameOfHalfLine(-5).isEmpty());
    QVERIFY(nameOfHalfLine(59).isEmpty());
    for (int p = -4; p <= 58; ++p) {
        int letter = -1;
        int octave = -1;
        const QString name = nameOfHalfLine(p, &letter, &octave);
        QCOMPARE(halfLineOf(name), p);
        QCOMPARE(name, QLatin1Char(NoteName::kLetters[letter]) + QString::number(octave));
    }
    QCOMPARE(halfLineOf("c4"), kNoHalfLine);
    QCOMPARE(halfLineOf("C"), kNoHalfLine);
    QCOMPARE(halfLineOf("Cx"), kNoHalfLine);
}

// The row the staff moves to for a note sent from a board names that note, stands inside the
// widget and below the upper limit, for every note of every table at every ordinary height.
void TestStaffGeometry::bandCentreNamesItsNoteAtEveryHeight()
{
    for (const StaffTables::Instrument& instrument : StaffTables::kInstruments) {
        const StaffTables::Layout& layout = instrument.layout;
        for (int height = 120; height <= 1200; ++height) {
            const float lh = lineHeight(height, layout.paperHeightFactor, layout.lines);
            for (std::size_t r = 0; r < instrument.count; ++r) {
                const QString note = rowName(instrument.rows[r]);
                const int p = halfLineOf(note);
                const int row = bandCentreRow(p, lh, layout.translateLines);
                if (halfLineAt(row, lh, layout.translateLines) != p || row <= 0 || row >= height
                    || aboveUpperLimit(noteTop(p, lh, layout.translateLines), layout.startLine, lh,
                                       layout.translateLines)) {
                    QFAIL(qPrintable(QString("%1 %2 at height %3: row %4 reads %5")
                                         .arg(instrumentTag(instrument), note)
                                         .arg(height)
                                         .arg(row)
                                         .arg(nameOfHalfLine(
                                             halfLineAt(row, lh, layout.translateLines)))));
                }
            }
        }
    }
}

TONARIX_TEST_MAIN(TestStaffGeometry)
#include "tst_StaffGeometry.moc"
