#pragma once

#include <QTabBar>

namespace RIRurud {

// The transposer's row of chords. Every release of a mouse button on the bar counts as a click on
// the tab then current (a release beside the tabs replays the current one); the number of tabs is
// announced whenever it changes.
class ChordsTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit ChordsTabBar(QWidget* parent = nullptr);

signals:
    void tabClicked();
    void countChanged(int count);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
};

} // namespace RIRurud
