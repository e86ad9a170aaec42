#pragma once

#include <QFrame>
#include <QVector>

class QLabel;

namespace RIRurud {

// The metronome's row of twelve beat marks (object name "Beat" each): the first count of them
// shown, the current beat's mark lit (enabled), the others dark (disabled).
class MetronomeBeats : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kMarks = 12;

    explicit MetronomeBeats(QWidget* parent = nullptr);

    // Lights mark index; an index outside 0..11 changes nothing.
    void setCurrentBeat(int index);
    int count() const { return m_beatsShown; }
    QLabel* mark(int index) const { return m_beatLabels.value(index); }

public slots:
    // Shows the first n marks and hides the rest; more than twelve is ignored.
    void slotSetBeats(int n);

private:
    QVector<QLabel*> m_beatLabels;
    int m_beatsShown = 0;
};

} // namespace RIRurud
