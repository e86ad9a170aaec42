#include "RIRurud/NoteName.h"

#include "TestMain.h"

using namespace RIRurud;

class TestNoteName : public QObject
{
    Q_OBJECT
private slots:
    void folding_data();
    void folding();
    void boardForms_data();
    void boardForms();
    void boardLayerAgreesWithFolding();
    void soundPath();
};

void TestNoteName::folding_data()
{
    QTest::addColumn<QString>("natural");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("layer");

    QTest::newRow("B sharp climbs an octave") << "B4" << 1 << "C5";
    QTest::newRow("C flat drops an octave") << "C4" << -1 << "B3";
    QTest::newRow("E sharp is F") << "E4" << 1 << "F4";
    QTest::newRow("F flat is E") << "F4" << -1 << "E4";
    QTest::newRow("A flat") << "A4" << -1 << "Gd4";
    QTest::newRow("B flat") << "B4" << -1 << "Ad4";
    QTest::newRow("D flat") << "D4" << -1 << "Cd4";
    QTest::newRow("G flat") << "G2" << -1 << "Fd2";
    QTest::newRow("E flat") << "E5" << -1 << "Dd5";
    QTest::newRow("sharps") << "F3" << 1 << "Fd3";
    QTest::newRow("natural stays") << "D4" << 0 << "D4";
    QTest::newRow("any positive is sharp") << "C4" << 7 << "Cd4";
    QTest::newRow("any negative is flat") << "D4" << -3 << "Cd4";
    QTest::newRow("lower case is not folded") << "c4" << 1 << "c4";
    QTest::newRow("empty name") << "" << 1 << "";
    QTest::newRow("empty name flat") << "" << -1 << "";
    QTest::newRow("two-digit octave") << "B9" << 1 << "C10";
    QTest::newRow("negative octave") << "C0" << -1 << "B-1";
    QTest::newRow("non-digit octave reads 0") << "Bx" << 1 << "C1";
    QTest::newRow("only two characters count") << "G4#" << 0 << "G4";
}

void TestNoteName::folding()
{
    QFETCH(QString, natural);
    QFETCH(int, accidental);
    QFETCH(QString, layer);
    QCOMPARE(NoteName::layerForm(natural, accidental), layer);
}

void TestNoteName::boardForms_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("natural");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("layer");

    QTest::newRow("banjo top sharp") << "C6#" << "C6" << 1 << "Cd6";
    QTest::newRow("natural") << "E4" << "E4" << 0 << "E4";
    QTest::newRow("low sharp") << "A0#" << "A0" << 1 << "Ad0";
}

void TestNoteName::boardForms()
{
    QFETCH(QString, board);
    QFETCH(QString, natural);
    QFETCH(int, accidental);
    QFETCH(QString, layer);
    QCOMPARE(NoteName::naturalName(board), natural);
    QCOMPARE(NoteName::boardAccidental(board), accidental);
    QCOMPARE(NoteName::layerFromBoard(board), layer);
    QCOMPARE(NoteName::boardFromLayer(layer), board);
    QCOMPARE(NoteName::boardForm(natural, accidental), board);
}

// For every board form that a board can answer, the layer taken straight from it equals the
// folding of the pair the board sends; and every flat folds onto a sharp board form.
void TestNoteName::boardLayerAgreesWithFolding()
{
    const QStringList sharps = {"C", "D", "F", "G", "A"};
    for (int octave = 0; octave <= 8; ++octave) {
        for (int i = 0; i < 7; ++i) {
            const QString natural = QLatin1Char(NoteName::kLetters[i]) + QString::number(octave);
            QStringList forms = {natural};
            if (sharps.contains(natural.left(1)))
                forms << natural + "#";
            for (const QString& board : forms) {
                const QString folded = NoteName::layerForm(NoteName::naturalName(board),
                                                           NoteName::boardAccidental(board));
                QCOMPARE(NoteName::layerFromBoard(board), folded);
            }
            if (natural == "C0")
                continue;   // its flat leaves the octave range
            const QString flat = NoteName::boardForm(natural, -1);
            QVERIFY2(!flat.contains('d') && (flat.size() == 2 || (flat.size() == 3 && flat.endsWith('#'))),
                     qPrintable(flat));
            QCOMPARE(NoteName::layerFromBoard(flat), NoteName::layerForm(natural, -1));
        }
    }
}

void TestNoteName::soundPath()
{
    QCOMPARE(NoteName::soundFileName("Banjo", "Cd6"), QString("banjo_440_Cd6.mp3"));
    QCOMPARE(NoteName::soundFileName("Ukulele", "E4"), QString("ukulele_440_E4.mp3"));
    const QString path = NoteName::soundFilePath("Balalaika", "Ad4");
    QCOMPARE(path, REZirudid::App::theApp()->bundleResourcePath() + "balalaika_440_Ad4.mp3");
    QVERIFY(REZirudid::App::theApp()->bundleResourcePath().endsWith("Resources/"));
}

TONARIX_APP_TEST_MAIN(TestNoteName)
#include "tst_NoteName.moc"
