#include "REZirudid/ScreenFit.h"

#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace REZirudid {

namespace {

QMargins frameOf(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

} // namespace

ScreenFit::ScreenFit(QWidget* window, std::function<void(const QSize& room)> prepare)
    : QObject(window)
    , m_window(window)
    , m_prepare(std::move(prepare))
{
    window->installEventFilter(this);
}

QSize ScreenFit::room(const QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return QSize();
    const QMargins frame = frameOf(window);
    return screen->availableGeometry().size() - QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

void ScreenFit::fit()
{
    if (!m_window->isWindow() || !m_window->screen())
        return;
    m_frame = frameOf(m_window);
    const QSize room = ScreenFit::room(m_window);
    if (m_prepare)
        m_prepare(room);
    if (const QLayout* box = m_window->layout())
        m_window->setMinimumSize(box->totalMinimumSize().boundedTo(room));
    m_window->resize(m_window->size().boundedTo(room));
    // Once the frame is known, a window placed so that its frame stands out is moved back in.
    if (m_window->isVisible() && !m_frame.isNull()) {
        const QRect area = m_window->screen()->availableGeometry();
        const QRect frame = m_window->frameGeometry();
        const QPoint inside(qBound(area.left(), frame.left(), qMax(area.left(), area.right() + 1 - frame.width())),
                            qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() + 1 - frame.height())));
        if (inside != frame.topLeft())
            m_window->move(inside);
    }
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show
            || ((type == QEvent::Move || type == QEvent::Resize) && m_window->isVisible() && frameOf(m_window) != m_frame)) {
            fit();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace REZirudid
