#include "DialogAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>

namespace TestSupport {

static constexpr int kPoll = 20;

DialogAnswerer::DialogAnswerer(const QString& buttonText)
    : m_text(buttonText)
    , m_byText(true)
{
    connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::poll);
    m_timer.start(kPoll);
}

DialogAnswerer::DialogAnswerer(int doneCode)
    : m_code(doneCode)
{
    connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::poll);
    m_timer.start(kPoll);
}

DialogAnswerer::~DialogAnswerer() = default;

QWidget* DialogAnswerer::activeModal()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    // Offscreen, a freshly opened dialog is not always the active window yet: look for a visible
    // modal one among the top-level widgets.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isModal())
            return w;
    }
    return nullptr;
}

static QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

void DialogAnswerer::poll()
{
    m_elapsed += kPoll;
    if (m_elapsed > kTimeout) {
        m_timer.stop();
        return;
    }
    QWidget* modal = activeModal();
    if (!modal)
        return;
    m_timer.stop();
    m_class = QString::fromLatin1(modal->metaObject()->className());
    m_title = modal->windowTitle();
    m_objectName = modal->objectName();
    QAbstractButton* target = nullptr;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QPushButton*>(button))
            continue;
        m_buttons << plain(button->text());
        if (m_byText && !target && plain(button->text()) == plain(m_text))
            target = button;
    }
    m_answered = true;
    if (m_inspector) {
        QPointer<QWidget> guard(modal);
        m_inspector(modal);
        // The inspector may have answered the dialog itself (a key press, a click).
        if (!guard || !guard->isVisible())
            return;
    }
    if (m_byText) {
        m_buttonFound = target != nullptr;
        if (target) {
            target->click();
            return;
        }
    }
    // No such button (or answering by code): end the dialog so the test does not hang.
    if (QDialog* dialog = qobject_cast<QDialog*>(modal))
        dialog->done(m_code);
    else
        modal->close();
}

bool DialogAnswerer::wait(int timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!m_answered && clock.elapsed() < timeout)
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPoll);
    return m_answered;
}

} // namespace TestSupport
