// The notes trainer widget with its statistic, bar and report dialog.

#include "DialogAnswerer.h"
#include "RIRurud/NotesLernBar.h"
#include "RIRurud/NotesLernReportDialog.h"
#include "RIRurud/NotesLernStatistic.h"
#include "RIRurud/NotesTrainerWidget.h"
#include "TestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace RIRurud;

class TestTrainer : public QObject
{
    Q_OBJECT

private slots:
    void keysAndButtonsAtConstruction();
    void startAsksForANoteBeforeAnnouncingTheStart();
    void keyPressScoresAndAsksForTheNextNote();
    void keysDoNothingWhileStopped();
    void restartClearsCountsAndReport();
    void clockShowsElapsedTimePastADay_data();
    void clockShowsElapsedTimePastADay();
    void statisticLabelsAndReport();
    void shownStatisticDrawsTheCountsInColour();
    void shownClockIsLaidOutAsRichText();
    void barPaintsEveryColumn_data();
    void barPaintsEveryColumn();
    void barDrawsNothingOfItsOwnWithoutAnswers();
    void reportDialogRows();
    void reportButtonOpensTheDialog();
};

namespace {

enum { C, Cd, D, Dd, E, F, Fd, G, Gd, A, Ad, B };

// Counts what happens in which order: the trainer's signals and the notes it is given.
struct Recorder : QObject
{
    QStringList events;
    NotesTrainerWidget* trainer = nullptr;
    QStringList questions;   // notes handed back on each needNextNote(), in turn

    explicit Recorder(NotesTrainerWidget* t)
        : trainer(t)
    {
        connect(t, &NotesTrainerWidget::needNextNote, this, [this] {
            events << QStringLiteral("need");
            if (!questions.isEmpty()) {
                const QString q = questions.takeFirst();
                trainer->setNote(q.left(2), q.size() > 2 ? (q.at(2) == QLatin1Char('#') ? 1 : -1) : 0);
                events << QStringLiteral("note ") + q;
            }
        });
        connect(t, &NotesTrainerWidget::trainingStarted, this,
                [this](bool on) { events << (on ? QStringLiteral("started") : QStringLiteral("stopped")); });
    }
};

QString clockText(NotesTrainerWidget& t)
{
    QString s = t.clockLabel()->text();
    s.remove(QStringLiteral("<FONT COLOR='black'><H2>"));
    s.remove(QStringLiteral("</H2></FONT>"));
    return s;
}

} // namespace

void TestTrainer::keysAndButtonsAtConstruction()
{
    NotesTrainerWidget t;
    QVERIFY(!t.isTrainingStarted());
    QCOMPARE(t.startButton()->text(), QStringLiteral("Start"));
    QCOMPARE(t.startButton()->objectName(), QStringLiteral("RoundButton"));
    QVERIFY(t.startButton()->isCheckable());
    QCOMPARE(t.clockLabel()->text(), QStringLiteral("<FONT COLOR='black'><H2>00:00:00</H2></FONT>"));
    QVERIFY(!t.clockTimer()->isActive());
    QCOMPARE(t.clockTimer()->interval(), 500);

    const QString flat = QString(QChar(0x266D));
    const QStringList captions = {"C\n(do)", "C#\nD" + flat, "D\n(re)", "D#\nE" + flat, "E\n(mi)", "F\n(fa)",
                                  "F#\nG" + flat, "G\n(sol)", "G#\nA" + flat, "A\n(la)", "A#\nB" + flat, "B\n(si)"};
    for (int i = 0; i < 12; ++i) {
        QPushButton* key = t.key(i);
        QVERIFY(key);
        QCOMPARE(key->text(), captions.at(i));
        QCOMPARE(key->objectName(), captions.at(i).contains('#') ? QStringLiteral("Keyd") : QStringLiteral("Key"));
        QCOMPARE(key->size(), QSize(44, 44));
        QVERIFY(key->isFlat());
        QVERIFY(!key->isEnabled());
    }
    QVERIFY(!t.key(12));
}

void TestTrainer::startAsksForANoteBeforeAnnouncingTheStart()
{
    NotesTrainerWidget t;
    Recorder r(&t);
    r.questions << QStringLiteral("E4");
    t.startButton()->click();

    QCOMPARE(r.events, QStringList({"need", "note E4", "started"}));
    QVERIFY(t.isTrainingStarted());
    QCOMPARE(t.currentNote(), QStringLiteral("E4"));
    QCOMPARE(t.startButton()->text(), QStringLiteral("Stop"));
    QVERIFY(t.clockTimer()->isActive());
    for (int i = 0; i < 12; ++i)
        QVERIFY(t.key(i)->isEnabled());

    r.events.clear();
    t.startButton()->click();
    QCOMPARE(r.events, QStringList({"stopped"}));
    QVERIFY(!t.clockTimer()->isActive());
    QCOMPARE(t.startButton()->text(), QStringLiteral("Start"));
    for (int i = 0; i < 12; ++i)
        QVERIFY(!t.key(i)->isEnabled());
}

void TestTrainer::keyPressScoresAndAsksForTheNextNote()
{
    NotesTrainerWidget t;
    Recorder r(&t);
    r.questions << QStringLiteral("C4#") << QStringLiteral("D4b") << QStringLiteral("C4") << QStringLiteral("B3#");
    t.startButton()->click();
    r.events.clear();

    // C sharp asked; C# answers right, and the next note arrives before the press returns.
    QTest::mousePress(t.key(Cd), Qt::LeftButton);
    QTest::mouseRelease(t.key(Cd), Qt::LeftButton);
    QCOMPARE(r.events, QStringList({"need", "note D4b"}));
    QCOMPARE(t.statistic()->rightCount(), 1);
    QCOMPARE(t.statistic()->wrongCount(), 0);

    // D flat asked; the same black key is right again.
    t.slotCDClicked();
    QCOMPARE(t.statistic()->rightCount(), 2);

    // C asked; D is wrong and is reported under D, not under the note asked.
    t.slotDClicked();
    QCOMPARE(t.statistic()->wrongCount(), 1);

    // B sharp asked; C is right.
    t.slotCClicked();
    QCOMPARE(t.statistic()->rightCount(), 3);

    NotesLernStatistic::Report report = t.statistic()->report();
    QCOMPARE(report.keys(), QStringList({"C", "C#", "D"}));
    QCOMPARE(report.value("C#"), qMakePair(2, 0));
    QCOMPARE(report.value("D"), qMakePair(0, 1));
    QCOMPARE(report.value("C"), qMakePair(1, 0));
}

void TestTrainer::keysDoNothingWhileStopped()
{
    NotesTrainerWidget t;
    QSignalSpy need(&t, &NotesTrainerWidget::needNextNote);
    t.setNote(QStringLiteral("C4"), 0);
    t.slotCClicked();
    QCOMPARE(need.count(), 0);
    QCOMPARE(t.statistic()->rightCount(), 0);
    QVERIFY(t.statistic()->report().isEmpty());

    // Started without any note: the press counts as wrong under the key pressed.
    NotesTrainerWidget fresh;
    fresh.startButton()->click();
    fresh.slotGClicked();
    QCOMPARE(fresh.statistic()->wrongCount(), 1);
    QCOMPARE(fresh.statistic()->report().value("G"), qMakePair(0, 1));
}

void TestTrainer::restartClearsCountsAndReport()
{
    NotesTrainerWidget t;
    qint64 now = 0;
    t.setClock([&now] { return now; });
    t.setNote(QStringLiteral("A4"), 0);
    t.startButton()->click();
    t.slotAClicked();
    t.slotBClicked();
    now = 7000;
    t.slotTimeOut();
    t.startButton()->click();   // stop: everything stays
    QCOMPARE(t.statistic()->rightCount(), 1);
    QCOMPARE(t.statistic()->wrongCount(), 1);
    QCOMPARE(t.statistic()->report().size(), 2);
    QCOMPARE(clockText(t), QStringLiteral("00:00:07"));

    now = 50000;
    t.startButton()->click();   // start again: counts and report from zero, clock until the first tick
    QCOMPARE(t.statistic()->rightCount(), 0);
    QCOMPARE(t.statistic()->wrongCount(), 0);
    QVERIFY(t.statistic()->report().isEmpty());
    QCOMPARE(clockText(t), QStringLiteral("00:00:07"));
    t.slotTimeOut();
    QCOMPARE(clockText(t), QStringLiteral("00:00:00"));
}

void TestTrainer::clockShowsElapsedTimePastADay_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<QString>("text");
    const qint64 day = 86400000;
    QTest::newRow("a minute") << qint64(0) << qint64(61500) << "00:01:01";
    QTest::newRow("across midnight") << qint64(day - 10000) << qint64(25000) << "00:00:25";
    QTest::newRow("25 hours") << qint64(12345) << qint64(day + 3600000 + 3000) << "25:00:03";
    QTest::newRow("two days") << qint64(day / 2) << qint64(2 * day) << "48:00:00";
}

void TestTrainer::clockShowsElapsedTimePastADay()
{
    QFETCH(qint64, start);
    QFETCH(qint64, elapsed);
    QFETCH(QString, text);
    NotesTrainerWidget t;
    qint64 now = start;
    t.setClock([&now] { return now; });
    t.startButton()->click();
    now = start + elapsed;
    t.slotTimeOut();
    QCOMPARE(clockText(t), text);

    // The real timer drives the same slot.
    t.setClock(nullptr);
    t.startButton()->click();
    t.startButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(clockText(t), QStringLiteral("00:00:00"), 2000);
}

void TestTrainer::statisticLabelsAndReport()
{
    NotesLernStatistic s;
    QCOMPARE(s.rightLabel()->text(), QStringLiteral("<FONT COLOR='green'>Right:0</FONT>"));
    QCOMPARE(s.wrongLabel()->text(), QStringLiteral("<FONT COLOR='red'>Wrong:0</FONT>"));
    QCOMPARE(s.reportButton()->text(), QStringLiteral("Full Report"));
    s.incRight();
    s.incRight();
    s.incWrong();
    QCOMPARE(s.rightLabel()->text(), QStringLiteral("<FONT COLOR='green'>Right:2</FONT>"));
    QCOMPARE(s.wrongLabel()->text(), QStringLiteral("<FONT COLOR='red'>Wrong:1</FONT>"));
    QCOMPARE(s.bar()->rightCount(), 2);

    s.addToReport(QStringLiteral("G#"), qMakePair(1, 0));
    s.addToReport(QStringLiteral("A"), qMakePair(0, 1));
    s.addToReport(QStringLiteral("G#"), qMakePair(0, 1));
    s.addToReport(QStringLiteral("C"), qMakePair(2, 3));
    QCOMPARE(s.report().keys(), QStringList({"A", "C", "G#"}));
    QCOMPARE(s.report().value("G#"), qMakePair(1, 1));
    QCOMPARE(s.report().value("C"), qMakePair(2, 3));

    s.reset();
    QVERIFY(s.report().isEmpty());
    QCOMPARE(s.rightCount() + s.wrongCount(), 0);
    QCOMPARE(s.rightLabel()->text(), QStringLiteral("<FONT COLOR='green'>Right:0</FONT>"));
}

// The counts are laid out as rich text only once the statistic is shown: on screen they must read
// as coloured words, never as their tags, also for counts changed before the first show.
void TestTrainer::shownStatisticDrawsTheCountsInColour()
{
    NotesLernStatistic s;
    s.incRight();
    s.resize(400, 80);
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    for (QLabel* label : {s.rightLabel(), s.wrongLabel()}) {
        QCOMPARE(label->textFormat(), Qt::RichText);
        // The tags take more room than the words they colour.
        QVERIFY2(label->sizeHint().width() < label->fontMetrics().horizontalAdvance(label->text()) / 2,
                 qPrintable(label->text()));
        QVERIFY(label->width() >= label->sizeHint().width());
    }
    QCOMPARE(s.rightLabel()->text(), QStringLiteral("<FONT COLOR='green'>Right:1</FONT>"));

    const QImage right = s.rightLabel()->grab().toImage();
    const QImage wrong = s.wrongLabel()->grab().toImage();
    const auto hasPixel = [](const QImage& image, auto test) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (test(QColor(image.pixel(x, y))))
                    return true;
        return false;
    };
    QVERIFY(hasPixel(right, [](const QColor& c) { return c.green() > 90 && c.red() < 60 && c.blue() < 60; }));
    QVERIFY(hasPixel(wrong, [](const QColor& c) { return c.red() > 150 && c.green() < 60 && c.blue() < 60; }));

    // Later counts show at once.
    s.incWrong();
    s.incWrong();
    QCOMPARE(s.wrongLabel()->text(), QStringLiteral("<FONT COLOR='red'>Wrong:2</FONT>"));
    QCOMPARE(s.wrongLabel()->textFormat(), Qt::RichText);
}

// The clock, too, is laid out as rich text from the trainer's first show: a large heading whose
// tags are not shown, and later times keep that form.
void TestTrainer::shownClockIsLaidOutAsRichText()
{
    NotesTrainerWidget t;
    t.resize(600, 400);
    t.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t));
    QLabel* clock = t.clockLabel();
    QCOMPARE(clock->textFormat(), Qt::RichText);
    // As a heading the time is taller than a plain line, and far narrower than its tags.
    QVERIFY(clock->sizeHint().height() > clock->fontMetrics().height());
    QVERIFY(clock->sizeHint().width() < clock->fontMetrics().horizontalAdvance(clock->text()) / 2);
    QVERIFY(clock->height() >= clock->sizeHint().height());

    qint64 now = 1000;
    t.setClock([&now] { return now; });
    t.startButton()->click();
    now += 3000;
    t.slotTimeOut();
    QCOMPARE(clockText(t), QStringLiteral("00:00:03"));
    QCOMPARE(clock->textFormat(), Qt::RichText);
}

void TestTrainer::barPaintsEveryColumn_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("greenColumns");
    QTest::newRow("2 of 3 at 300") << 2 << 1 << 300 << 199;
    QTest::newRow("1 of 3 at 300") << 1 << 2 << 300 << 99;
    QTest::newRow("all right") << 3 << 0 << 250 << 250;
    QTest::newRow("all wrong") << 0 << 3 << 250 << 0;
    QTest::newRow("7 of 9 at 177") << 7 << 2 << 177 << 137;
}

void TestTrainer::barPaintsEveryColumn()
{
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(int, width);
    QFETCH(int, greenColumns);
    NotesLernBar bar;
    bar.setStyleSheet(QStringLiteral("background: blue; border: none;"));
    bar.setRightCount(right);
    bar.setWrongCount(wrong);
    bar.resize(width, 24);
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.width(), width);
    // A row near the top, away from the percentage text: every column green or red, none blue.
    const int y = 1;
    int green = 0;
    for (int x = 0; x < width; ++x) {
        const QColor c = image.pixelColor(x, y);
        QVERIFY2(c.blue() < 60, qPrintable(QStringLiteral("column %1 unpainted").arg(x)));
        if (c.green() > c.red())
            ++green;
        else
            QVERIFY2(c.red() > c.green(), qPrintable(QStringLiteral("column %1").arg(x)));
    }
    QCOMPARE(green, greenColumns);
}

void TestTrainer::barDrawsNothingOfItsOwnWithoutAnswers()
{
    NotesLernBar bar;
    bar.setStyleSheet(QStringLiteral("background: blue; border: none;"));
    bar.resize(100, 24);
    const QImage image = bar.grab().toImage();
    for (int x = 0; x < 100; x += 9)
        QCOMPARE(image.pixelColor(x, 12), QColor(Qt::blue));
    QCOMPARE(bar.height(), 24);
    QCOMPARE(bar.objectName(), QStringLiteral("NotesLernBar"));
}

void TestTrainer::reportDialogRows()
{
    QMap<QString, QPair<int, int>> report;
    report.insert(QStringLiteral("F#"), qMakePair(2, 1));
    report.insert(QStringLiteral("A"), qMakePair(0, 4));
    NotesLernReportDialog dialog(report);
    const QList<NotesLernBar*> bars = dialog.findChildren<NotesLernBar*>();
    QCOMPARE(bars.size(), 2);
    QStringList texts;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        texts << l->text();
    QCOMPARE(texts, QStringList({"A", "<FONT COLOR='#00FF00'>0</FONT>", "<FONT COLOR='#FF0000'>4</FONT>",
                                 "F#", "<FONT COLOR='#00FF00'>2</FONT>", "<FONT COLOR='#FF0000'>1</FONT>"}));
    // Rows in key order; each bar carries its row's counts.
    QCOMPARE(bars.at(0)->rightCount(), 0);
    QCOMPARE(bars.at(0)->wrongCount(), 4);
    QCOMPARE(bars.at(1)->rightCount(), 2);
    QCOMPARE(bars.at(1)->wrongCount(), 1);
    QVERIFY(bars.at(1)->minimumWidth() >= 175);
    QCOMPARE(NotesLernBar::split(2, 1, 300).percent, 66);

    NotesLernReportDialog empty({});
    QVERIFY(empty.findChildren<NotesLernBar*>().isEmpty());
    const QList<QLabel*> labels = empty.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first()->text(), QStringLiteral("<CENTER><H2>No report data is available</H2></CENTER>"));
    QCOMPARE(empty.findChildren<QPushButton*>().size(), 1);
}

void TestTrainer::reportButtonOpensTheDialog()
{
    NotesTrainerWidget t;
    t.setNote(QStringLiteral("E4"), 0);
    t.startButton()->click();
    t.slotEClicked();
    t.slotEClicked();

    int bars = -1;
    TestSupport::DialogAnswerer answer(QStringLiteral("Ok"));
    answer.setInspector([&bars](QWidget* w) { bars = w->findChildren<NotesLernBar*>().size(); });
    t.statistic()->reportButton()->click();
    QVERIFY(answer.answered());
    QCOMPARE(answer.dialogClass(), QStringLiteral("RIRurud::NotesLernReportDialog"));
    QCOMPARE(bars, 1);
    // The dialog is gone and the report unchanged.
    QVERIFY(t.statistic()->findChildren<NotesLernReportDialog*>().isEmpty());
    QCOMPARE(t.statistic()->report().value("E"), qMakePair(2, 0));
}

TONARIX_TEST_MAIN(TestTrainer)
#include "tst_Trainer.moc"
