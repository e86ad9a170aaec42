#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

#include <functional>

class QWidget;

namespace REZirudid {

// Holds a top-level window within the available area of its screen, its frame included: its size
// and its minimum size are kept within the room the screen offers less the frame, and a frame that
// stands out of the area is moved back in. A stored size from a larger screen, or a layout taller
// than a small screen, would otherwise push the window's title bar or its bottom out of reach.
//
// A window manager frames a window only after it is shown, so the window is held once more
// whenever the frame it has changes (and only then: a window the user moves or resizes later is
// left where the user puts it). A widget that is not a window is left alone.
class ScreenFit : public QObject
{
    Q_OBJECT
public:
    // Watches `window` and goes with it. `prepare`, when given, runs with the room before the
    // window is held to it (to shrink what would not fit otherwise).
    explicit ScreenFit(QWidget* window, std::function<void(const QSize& room)> prepare = {});

    // The available size of the window's screen less the window's frame.
    static QSize room(const QWidget* window);

    // Holds the window now.
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::function<void(const QSize&)> m_prepare;
    QMargins m_frame;
};

} // namespace REZirudid
