#include "RIRurud/NoteName.h"
#include "RIRurud/NotesWidget.h"
#include "RIRurud/StaffGeometry.h"

#include "TestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QSignalSpy>

using namespace RIRurud;
using namespace RIRurud::StaffGeometry;

namespace {

const StaffTables::Instrument& instrumentNamed(const char* name)
{
    return *StaffTables::find(name);
}

// Darkness of a pixel: 0 white or transparent, 255 black.
int darkness(QRgb pixel)
{
    return qAlpha(pixel) * (255 - qGray(pixel)) / 255;
}

} // namespace

class TestStaffWidget : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void hoverReportsOncePerBand();
    void signChangeShowsOnNextMoveInSameBand();
    void pressReportsAndSoundsEveryTime_data();
    void pressReportsAndSoundsEveryTime();
    void pressAboveHighestNoteSoundsNothing();
    void dragOutsideTheStaffNamesNoNote();
    void showNoteSetsLabelAndButtons_data();
    void showNoteSetsLabelAndButtons();
    void showNoteIgnoresNotesOutsideTable();
    void showNoteRoundTripsForEveryInstrument();
    void signButtonsAreExclusive();
    void switchedOffStaffBecomesShortLines();
    void noteIsDrawnOnItsHalfLineAfterResize();

private:
    NotesWidget* makeStaff(const StaffTables::Instrument& instrument, int width, int height);
    NotesWidget* makeStaff(const StaffTables::Layout& layout, const QString& name, int width, int height);
    void move(const QPoint& pos, Qt::MouseButtons buttons = Qt::NoButton);
    void press(const QPoint& pos);
    static void settle();
    QString labelText() const;

    QWidget* m_window = nullptr;
    NotesWidget* m_staff = nullptr;
    QStringList m_log;   // noteChanged and sounds, in order
};

void TestStaffWidget::init()
{
    m_log.clear();
    NoteName::setSoundHook([this](const QString& path) { m_log << "play " + path; });
    m_window = new QWidget;
    m_window->resize(1400, 1300);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestStaffWidget::cleanup()
{
    delete m_window;
    m_window = nullptr;
    m_staff = nullptr;
    NoteName::setSoundHook({});
}

NotesWidget* TestStaffWidget::makeStaff(const StaffTables::Layout& layout, const QString& name,
                                        int width, int height)
{
    delete m_staff;
    m_staff = new NotesWidget(m_window);
    m_staff->setPaperHeightFactor(layout.paperHeightFactor);
    m_staff->setStartLine(layout.startLine);
    m_staff->setLines(layout.lines);
    m_staff->setTranslateLines(layout.translateLines);
    m_staff->setNoBass(layout.noBass);
    m_staff->setNoViolin(layout.noViolin);
    m_staff->setInstrumentName(name);
    m_staff->setGeometry(0, 0, width, height);
    m_staff->show();
    connect(m_staff, &NotesWidget::noteChanged, this,
            [this](const QString& note, int accidental) {
                m_log << QString("note %1 %2").arg(note).arg(accidental);
            });
    settle();
    return m_staff;
}

NotesWidget* TestStaffWidget::makeStaff(const StaffTables::Instrument& instrument, int width,
                                        int height)
{
    return makeStaff(instrument.layout, QString::fromLatin1(instrument.pageName), width, height);
}

void TestStaffWidget::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void TestStaffWidget::move(const QPoint& pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(QEvent::MouseMove, pos, m_staff->mapToGlobal(pos), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(m_staff, &event);
    settle();
}

void TestStaffWidget::press(const QPoint& pos)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, m_staff->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_staff, &event);
}

QString TestStaffWidget::labelText() const
{
    return m_staff->findChild<QLabel*>("NoteLabel")->text();
}

// Default staff 400 x 270: ten pixels a line, middle C's band is rows 150 to 154.
void TestStaffWidget::hoverReportsOncePerBand()
{
    makeStaff(StaffTables::kDefaultLayout, "piano", 400, 270);
    QVERIFY(labelText().isEmpty());
    move({100, 150});
    QCOMPARE(m_log, QStringList{"note C4 0"});
    QVERIFY(labelText().contains(">C4</FONT>"));
    QVERIFY(labelText().contains("(do4)"));
    move({120, 154});
    move({300, 151});
    QCOMPARE(m_log.size(), 1);
    move({120, 149});
    QCOMPARE(m_log, (QStringList{"note C4 0", "note D4 0"}));
    QCOMPARE(m_staff->currentName(), QString("D4"));
    move({120, 269});
    QCOMPARE(m_log.last(), QString("note A0 0"));
    QVERIFY(m_log.filter("play").isEmpty());
}

// A move inside the band of the note shown requests no paint unless what the paint would show
// has changed: a new accidental must still appear beside the note.
void TestStaffWidget::signChangeShowsOnNextMoveInSameBand()
{
    makeStaff(StaffTables::kDefaultLayout, "piano", 400, 270);
    move({100, 150});
    const QRect signArea(170, 140, 20, 18);   // left of the note, level with it
    auto signInk = [&]() {
        const QImage shot = m_window->windowHandle()->screen()->grabWindow(m_window->winId()).toImage();
        int ink = 0;
        for (int y = signArea.top(); y <= signArea.bottom(); ++y)
            for (int x = signArea.left(); x <= signArea.right(); ++x)
                ink += darkness(shot.pixel(x, y)) > 128;
        return ink;
    };
    const int lines = signInk();   // the staff's own lines cross the area
    m_staff->findChild<QPushButton*>("SharpSignButton")->click();
    settle();
    QCOMPARE(signInk(), lines);   // the buttons alone do not repaint the staff
    move({100, 152});
    QVERIFY2(signInk() > lines + 10, qPrintable(QString::number(signInk() - lines)));
    QCOMPARE(m_log, QStringList{"note C4 0"});   // same note: nothing reported
}

void TestStaffWidget::pressReportsAndSoundsEveryTime_data()
{
    QTest::addColumn<QString>("sign");
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("file");

    QTest::newRow("natural") << "" << "note C4 0" << "piano_440_C4.mp3";
    QTest::newRow("sharp") << "SharpSignButton" << "note C4 1" << "piano_440_Cd4.mp3";
    QTest::newRow("flat") << "FlatSignButton" << "note C4 -1" << "piano_440_B3.mp3";
}

void TestStaffWidget::pressReportsAndSoundsEveryTime()
{
    QFETCH(QString, sign);
    QFETCH(QString, reported);
    QFETCH(QString, file);
    makeStaff(StaffTables::kDefaultLayout, "Piano", 400, 270);
    if (!sign.isEmpty())
        m_staff->findChild<QPushButton*>(sign)->click();
    const QString play = "play " + REZirudid::App::theApp()->bundleResourcePath() + file;
    press({200, 152});
    press({200, 153});
    QCOMPARE(m_log, (QStringList{reported, play, reported, play}));
}

void TestStaffWidget::pressAboveHighestNoteSoundsNothing()
{
    makeStaff(instrumentNamed("ukulele"), 400, 324);
    press({200, 48});   // above the space over the first drawn line
    QVERIFY2(m_log.isEmpty(), qPrintable(m_log.join(", ")));
    QVERIFY(m_staff->currentName().isEmpty());
    press({200, 49});
    QCOMPARE(m_log.first(), QString("note D6 0"));
    QVERIFY(m_log.last().endsWith("/ukulele_440_D6.mp3"));
}

// With a button held the staff keeps receiving moves when the pointer leaves it; those name no
// note of the staff.
void TestStaffWidget::dragOutsideTheStaffNamesNoNote()
{
    makeStaff(instrumentNamed("banjo"), 400, 324);
    press({200, 200});
    const QString pressed = m_staff->currentName();
    QVERIFY(!pressed.isEmpty());
    m_log.clear();
    for (const QPoint& pos : {QPoint(200, 330), QPoint(200, 900), QPoint(200, -1), QPoint(200, -60),
                              QPoint(-40, 200), QPoint(460, 200)}) {
        move(pos, Qt::LeftButton);
        QVERIFY2(m_log.isEmpty(), qPrintable(m_log.join(", ")));
        QCOMPARE(m_staff->currentName(), pressed);
    }
    move({200, 300}, Qt::LeftButton);
    QCOMPARE(m_log.size(), 1);
}

void TestStaffWidget::showNoteSetsLabelAndButtons_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("accidental");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("solfege");

    const QString flat = QString("<b>") + QChar(0x266D) + "</b>";
    QTest::newRow("sharp") << "C4" << 1 << "SharpSignButton" << "#C4" << "(#do4)";
    QTest::newRow("natural") << "E4" << 0 << "NaturalSignButton" << "E4" << "(mi4)";
    QTest::newRow("flat") << "B3" << -1 << "FlatSignButton" << flat + "B3" << "(" + flat + "si3)";
    QTest::newRow("large positive is sharp") << "F4" << 7 << "SharpSignButton" << "#F4" << "(#fa4)";
    QTest::newRow("large negative is flat") << "D4" << -3 << "FlatSignButton" << flat + "D4"
                                            << "(" + flat + "re4)";
}

void TestStaffWidget::showNoteSetsLabelAndButtons()
{
    QFETCH(QString, note);
    QFETCH(int, accidental);
    QFETCH(QString, checked);
    QFETCH(QString, name);
    QFETCH(QString, solfege);
    makeStaff(StaffTables::kDefaultLayout, "piano", 400, 270);
    m_staff->slotShowNote(note, accidental);
    for (const char* button : {"FlatSignButton", "SharpSignButton", "NaturalSignButton"})
        QCOMPARE(m_staff->findChild<QPushButton*>(button)->isChecked(), checked == button);
    QVERIFY2(labelText().contains(">" + name + "</FONT>"), qPrintable(labelText()));
    QVERIFY2(labelText().contains(solfege), qPrintable(labelText()));
    QCOMPARE(m_staff->currentName(), note);
    QVERIFY(m_log.isEmpty());   // never reported back to the sender
}

void TestStaffWidget::showNoteIgnoresNotesOutsideTable()
{
    makeStaff(instrumentNamed("balalaika"), 400, 324);
    m_staff->slotShowNote("G4", 0);
    const QPoint shown = m_staff->pointerPosition();
    // Below the balalaika's range: label and buttons only. The label's sign follows the sign of
    // any accidental, not only of +1 and -1.
    m_staff->slotShowNote("C4", 5);
    QCOMPARE(m_staff->pointerPosition(), shown);
    QCOMPARE(m_staff->currentName(), QString("G4"));
    QVERIFY(m_staff->isSharp());
    QVERIFY2(labelText().contains(">#C4</FONT>"), qPrintable(labelText()));
    QVERIFY(labelText().contains("(#do)"));
    m_staff->slotShowNote("D4", -2);
    QCOMPARE(m_staff->pointerPosition(), shown);
    QVERIFY(m_staff->isFlat());
    const QString flat = QString("<b>") + QChar(0x266D) + "</b>";
    QVERIFY2(labelText().contains(">" + flat + "D4</FONT>"), qPrintable(labelText()));
    QVERIFY(labelText().contains("(" + flat + "re)"));
    QVERIFY(m_log.isEmpty());
}

// Every note a board can send lands on its own line or space, whatever the staff's height, for
// every instrument's page layout.
void TestStaffWidget::showNoteRoundTripsForEveryInstrument()
{
    for (const StaffTables::Instrument& instrument : StaffTables::kInstruments) {
        makeStaff(instrument, 420, 150);
        for (int height = 150; height <= 820; height += 11) {
            m_staff->resize(420, height);
            for (std::size_t r = 0; r < instrument.count; ++r) {
                const QString note = rowName(instrument.rows[r]);
                m_staff->slotShowNote(note, 0);
                if (m_staff->currentName() != note) {
                    QFAIL(qPrintable(QString("%1 at height %2: %3 shown as %4")
                                         .arg(instrument.name)
                                         .arg(height)
                                         .arg(note, m_staff->currentName())));
                }
                QVERIFY(labelText().contains(">" + note + "</FONT>"));
            }
        }
    }
    QVERIFY(m_log.isEmpty());
}

void TestStaffWidget::signButtonsAreExclusive()
{
    makeStaff(StaffTables::kDefaultLayout, "piano", 400, 270);
    auto* natural = m_staff->findChild<QPushButton*>("NaturalSignButton");
    auto* flat = m_staff->findChild<QPushButton*>("FlatSignButton");
    auto* sharp = m_staff->findChild<QPushButton*>("SharpSignButton");
    QTest::mouseClick(natural, Qt::LeftButton);
    QVERIFY(m_staff->isNatural() && !m_staff->isFlat() && !m_staff->isSharp());
    QTest::mouseClick(flat, Qt::LeftButton);
    QVERIFY(m_staff->isFlat() && !m_staff->isNatural() && !m_staff->isSharp());
    QTest::mouseClick(sharp, Qt::LeftButton);
    QTest::mouseClick(sharp, Qt::LeftButton);
    QVERIFY(m_staff->isSharp() && !m_staff->isNatural() && !m_staff->isFlat());
}

// Lines of a switched-off staff are drawn as short ledger lines around the centre only.
void TestStaffWidget::switchedOffStaffBecomesShortLines()
{
    for (const bool noBass : {false, true}) {
        StaffTables::Layout layout = StaffTables::kDefaultLayout;
        layout.noBass = noBass;
        makeStaff(layout, "piano", 400, 270);
        const QImage shot = m_staff->grab().toImage();
        for (int k = 10; k <= 20; ++k) {
            if (k == 15)
                continue;
            const bool full = k <= 14 || !noBass;
            const int edge = darkness(shot.pixel(395, 10 * k));
            const int centre = darkness(shot.pixel(200, 10 * k));
            QVERIFY2(centre > 128, qPrintable(QString("line %1").arg(k)));
            QCOMPARE(edge > 128, full);
        }
        QVERIFY(darkness(shot.pixel(200, 150)) > 128);   // middle C's ledger line
        QCOMPARE(darkness(shot.pixel(395, 150)) > 128, false);
    }
}

// The note head's ink stands centred on the note's half-line, one space high, and follows a
// resize. The ink is what a shown note adds to the staff's own lines.
void TestStaffWidget::noteIsDrawnOnItsHalfLineAfterResize()
{
    const StaffTables::Instrument& banjo = instrumentNamed("banjo");
    for (const int height : {300, 460}) {
        for (const char* note : {"G4", "C5", "A3"}) {
            makeStaff(banjo, 500, 300);
            m_staff->resize(500, height);
            const QImage before = m_staff->grab().toImage();
            m_staff->slotShowNote(note, 0);
            const QImage after = m_staff->grab().toImage();
            const float lh = m_staff->linesHeight();
            const float centre = float(halfLineOf(note)) * lh * 0.5f - banjo.layout.translateLines * lh;
            long sum = 0;
            long weight = 0;
            int top = height;
            int bottom = 0;
            int left = 500;
            int right = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 150; x < 350; ++x) {
                    const int d = darkness(after.pixel(x, y)) - darkness(before.pixel(x, y));
                    if (d > 96) {
                        sum += long(d) * y;
                        weight += d;
                        top = qMin(top, y);
                        bottom = qMax(bottom, y);
                        left = qMin(left, x);
                        right = qMax(right, x);
                    }
                }
            }
            QVERIFY2(weight > 0, note);
            const QString where = QString("%1 at height %2: ink rows %3-%4, columns %5-%6, line at %7, lh %8")
                                      .arg(note).arg(height).arg(top).arg(bottom).arg(left).arg(right)
                                      .arg(centre).arg(lh);
            QVERIFY2(std::abs(float(sum) / float(weight) - centre) < qMax(1.5f, lh * 0.1f), qPrintable(where));
            QVERIFY2(bottom - top >= int(lh * 0.7f) && bottom - top <= int(lh) + 1, qPrintable(where));
            QVERIFY2(std::abs((left + right) / 2.0f - 250.0f) < qMax(1.5f, lh * 0.1f), qPrintable(where));
            QVERIFY2(right - left < int(1.2 * 2 * lh), qPrintable(where));   // within its ledger line
        }
    }
}

TONARIX_APP_TEST_MAIN(TestStaffWidget)
#include "tst_StaffWidget.moc"
