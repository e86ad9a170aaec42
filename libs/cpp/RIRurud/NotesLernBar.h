#pragma once

#include <QFrame>

namespace RIRurud {

// A bar that shows right against wrong answers: green for the right share, red for the rest, and
// the percentage of right answers (truncated) in the middle. Nothing of its own is drawn while both
// counts are zero. The setters do not repaint; the owner calls update().
class NotesLernBar : public QFrame
{
    Q_OBJECT
public:
    explicit NotesLernBar(QWidget* parent = nullptr);

    int wrongCount() const { return m_wrongCount; }
    int rightCount() const { return m_rightCount; }
    void setWrongCount(const int& count) { m_wrongCount = count; }
    void setRightCount(const int& count) { m_rightCount = count; }
    void incWrong() { ++m_wrongCount; }
    void incRight() { ++m_rightCount; }
    void reset();

    // How a bar of the given width is split. The red part starts where the green ends and runs to
    // the right edge, so no column stays unpainted.
    struct Split
    {
        int greenWidth = 0;
        int redX = 0;
        int redWidth = 0;
        int percent = 0;   // right share in percent, truncated
    };
    static Split split(int right, int wrong, int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_wrongCount = 0;
    int m_rightCount = 0;
};

} // namespace RIRurud
