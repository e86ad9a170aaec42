#pragma once

#include <QFrame>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace RIRurud {

class NotesLernStatistic;

// The training panel: a Start button, a clock, twelve note keys laid out like one piano octave and
// the statistic of right and wrong answers. It does not choose notes: it asks for the next one with
// needNextNote() and is told each note through setNote().
class NotesTrainerWidget : public QFrame
{
    Q_OBJECT
public:
    explicit NotesTrainerWidget(QWidget* parent = nullptr);

    void setNote(const QString& note, int accidental);
    bool isTrainingStarted() const;
    void disableKeys(bool disabled);
    void applyNoteButtonDetails(QPushButton* button);

    QString currentNote() const { return m_note; }
    int currentAccidental() const { return m_accidental; }
    NotesLernStatistic* statistic() const { return m_statistic; }
    QPushButton* startButton() const { return m_startButton; }
    QLabel* clockLabel() const { return m_clockLabel; }
    QTimer* clockTimer() const { return m_clockTimer; }
    // Key i in the order C, C#, D, D#, E, F, F#, G, G#, A, A#, B.
    QPushButton* key(int i) const;

    // The clock reads elapsed time from a monotonic millisecond counter, so a training that runs
    // across midnight or a change of the system clock keeps counting. Replaceable for tests.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

signals:
    void needNextNote();
    void trainingStarted(bool started);

public slots:
    void slotStartClicked(bool checked);
    void slotTimeOut();
    void slotCClicked();
    void slotCDClicked();
    void slotDClicked();
    void slotDDClicked();
    void slotEClicked();
    void slotFClicked();
    void slotFDClicked();
    void slotGClicked();
    void slotGDClicked();
    void slotAClicked();
    void slotADClicked();
    void slotBClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void answer(int key);
    void showClock(const QString& time);

    QTimer* m_clockTimer = nullptr;
    QLabel* m_clockLabel = nullptr;
    QPushButton* m_startButton = nullptr;
    qint64 m_startTime = -1;   // clock reading at the start; -1 until the first start
    QString m_note;
    int m_accidental = 0;
    NotesLernStatistic* m_statistic = nullptr;
    QPushButton* m_keys[12] = {};
    Clock m_clock;
};

} // namespace RIRurud
