// The trainer's plain logic: which key answers which note, the clock text and how the statistics
// bar splits its width.

#include "RIRurud/NotesLernBar.h"
#include "RIRurud/TrainerKeys.h"

#include <QtTest>

using namespace RIRurud;

class TestTrainerLogic : public QObject
{
    Q_OBJECT

private slots:
    void answerTable_data();
    void answerTable();
    void everyKeyHasItsOwnSpellings();
    void clockText_data();
    void clockText();
    void barSplit_data();
    void barSplit();
    void barSplitCoversEveryWidth();
};

namespace {

int keyIndex(const char* name)
{
    for (int i = 0; i < TrainerKeys::kKeyCount; ++i) {
        if (qstrcmp(TrainerKeys::kKeys[i].reportKey, name) == 0)
            return i;
    }
    return -1;
}

} // namespace

void TestTrainerLogic::answerTable_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<bool>("right");

    // Naturals on white keys, in any octave.
    QTest::newRow("C4 on C") << "C" << "C4" << 0 << true;
    QTest::newRow("D5 on D") << "D" << "D5" << 0 << true;
    QTest::newRow("G3 on G") << "G" << "G3" << 0 << true;
    QTest::newRow("A6 on A") << "A" << "A6" << 0 << true;
    QTest::newRow("B2 on B") << "B" << "B2" << 0 << true;
    // Sharps and flats of the same black key.
    QTest::newRow("C#4 on C#") << "C#" << "C4" << 1 << true;
    QTest::newRow("Db4 on C#") << "C#" << "D4" << -1 << true;
    QTest::newRow("D#4 on D#") << "D#" << "D4" << 1 << true;
    QTest::newRow("Eb4 on D#") << "D#" << "E4" << -1 << true;
    QTest::newRow("F#4 on F#") << "F#" << "F4" << 1 << true;
    QTest::newRow("Gb4 on F#") << "F#" << "G4" << -1 << true;
    QTest::newRow("G#4 on G#") << "G#" << "G4" << 1 << true;
    QTest::newRow("Ab4 on G#") << "G#" << "A4" << -1 << true;
    QTest::newRow("A#4 on A#") << "A#" << "A4" << 1 << true;
    QTest::newRow("Bb4 on A#") << "A#" << "B4" << -1 << true;
    // Enharmonic white-key spellings.
    QTest::newRow("B# on C") << "C" << "B3" << 1 << true;
    QTest::newRow("Fb on E") << "E" << "F4" << -1 << true;
    QTest::newRow("E# on F") << "F" << "E4" << 1 << true;
    QTest::newRow("Cb on B") << "B" << "C5" << -1 << true;
    // Wrong answers.
    QTest::newRow("C# on C") << "C" << "C4" << 1 << false;
    QTest::newRow("C on C#") << "C#" << "C4" << 0 << false;
    QTest::newRow("D# on D") << "D" << "D4" << 1 << false;
    QTest::newRow("Db on D") << "D" << "D4" << -1 << false;
    QTest::newRow("C on D") << "D" << "C4" << 0 << false;
    QTest::newRow("E# on E") << "E" << "E4" << 1 << false;
    QTest::newRow("Cb on C") << "C" << "C4" << -1 << false;
    QTest::newRow("B# on B") << "B" << "B4" << 1 << false;
    // Only the first letter and the accidental count: a "#" in the name changes nothing.
    QTest::newRow("C4# natural on C") << "C" << "C4#" << 0 << true;
    QTest::newRow("C4# natural on C#") << "C#" << "C4#" << 0 << false;
    // Lower-case letters and an empty note are never right.
    QTest::newRow("lower case") << "C" << "c4" << 0 << false;
    QTest::newRow("empty on C") << "C" << "" << 0 << false;
    QTest::newRow("empty on C#") << "C#" << "" << 1 << false;
}

void TestTrainerLogic::answerTable()
{
    QFETCH(QString, key);
    QFETCH(QString, note);
    QFETCH(int, accidental);
    QFETCH(bool, right);
    const int index = keyIndex(key.toLatin1().constData());
    QVERIFY(index >= 0);
    QCOMPARE(TrainerKeys::isRightAnswer(index, note, accidental), right);
}

void TestTrainerLogic::everyKeyHasItsOwnSpellings()
{
    // Every spelling of the twelve semitones is right on exactly one key.
    const char letters[] = "CDEFGAB";
    for (const char* l = letters; *l; ++l) {
        for (int accidental = -1; accidental <= 1; ++accidental) {
            const QString note = QString(QLatin1Char(*l)) + QLatin1Char('4');
            int rightKeys = 0;
            for (int k = 0; k < TrainerKeys::kKeyCount; ++k)
                rightKeys += TrainerKeys::isRightAnswer(k, note, accidental) ? 1 : 0;
            QVERIFY2(rightKeys == 1, qPrintable(note + QString::number(accidental)));
        }
    }
    QCOMPARE(TrainerKeys::isRightAnswer(-1, QStringLiteral("C4"), 0), false);
    QCOMPARE(TrainerKeys::isRightAnswer(12, QStringLiteral("C4"), 0), false);
}

void TestTrainerLogic::clockText_data()
{
    QTest::addColumn<qint64>("msecs");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("under a second") << qint64(999) << "00:00:00";
    QTest::newRow("seconds truncate") << qint64(61999) << "00:01:01";
    QTest::newRow("an hour") << qint64(3600000) << "01:00:00";
    QTest::newRow("last second of a day") << qint64(86399000) << "23:59:59";
    QTest::newRow("a day") << qint64(86400000) << "24:00:00";
    QTest::newRow("past a day") << qint64(90003000) << "25:00:03";
    QTest::newRow("four days") << qint64(4LL * 86400000 + 61000) << "96:01:01";
    QTest::newRow("negative") << qint64(-5000) << "00:00:00";
}

void TestTrainerLogic::clockText()
{
    QFETCH(qint64, msecs);
    QFETCH(QString, text);
    QCOMPARE(TrainerKeys::formatElapsed(msecs), text);
}

void TestTrainerLogic::barSplit_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("percent");
    QTest::newRow("nothing") << 0 << 0 << 200 << 0 << 0;
    QTest::newRow("all right") << 5 << 0 << 200 << 200 << 100;
    QTest::newRow("all wrong") << 0 << 4 << 200 << 0 << 0;
    QTest::newRow("1 of 3") << 1 << 2 << 300 << 99 << 33;
    QTest::newRow("2 of 3") << 2 << 1 << 300 << 199 << 66;   // truncated, not rounded
    QTest::newRow("2 of 3 odd width") << 2 << 1 << 101 << 67 << 66;
    QTest::newRow("half") << 1 << 1 << 101 << 50 << 50;
}

void TestTrainerLogic::barSplit()
{
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, width);
    QFETCH(int, green);
    QFETCH(int, percent);
    const NotesLernBar::Split s = NotesLernBar::split(right, wrong, width);
    QCOMPARE(s.greenWidth, green);
    QCOMPARE(s.percent, percent);
    if (right + wrong > 0) {
        QCOMPARE(s.redX, s.greenWidth);
        QCOMPARE(s.redX + s.redWidth, width);
    }
}

void TestTrainerLogic::barSplitCoversEveryWidth()
{
    // Green and red meet without a gap and end at the right edge for every ratio and width.
    for (int width = 1; width <= 301; width += 7) {
        for (int right = 0; right <= 9; ++right) {
            for (int wrong = 0; wrong <= 9; ++wrong) {
                if (right + wrong == 0)
                    continue;
                const NotesLernBar::Split s = NotesLernBar::split(right, wrong, width);
                QVERIFY(s.greenWidth >= 0 && s.redWidth >= 0);
                QCOMPARE(s.redX, s.greenWidth);
                QCOMPARE(s.greenWidth + s.redWidth, width);
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestTrainerLogic)
#include "tst_TrainerLogic.moc"
