#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class QDialog;
class QWidget;

namespace TestSupport {

// Answers the next modal dialog from a timer, while the code under test is blocked in its local
// event loop: it waits until a modal widget is active, notes what it saw, then clicks the push
// button with the given text (mnemonic "&" ignored) or ends the dialog with a result code.
//
//   DialogAnswerer answer = DialogAnswerer::clicking("Yes");
//   int r = MessageBox::warning(...);
//   QVERIFY(answer.answered());
class DialogAnswerer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimeout = 5000;

    // Clicks the button whose text is `text`.
    explicit DialogAnswerer(const QString& buttonText);
    // Calls done(code) on the dialog.
    explicit DialogAnswerer(int doneCode);
    ~DialogAnswerer() override;

    // Runs on the dialog before it is answered (inspect texts, object names...); it may answer
    // the dialog itself, e.g. with a key press.
    void setInspector(std::function<void(QWidget*)> inspector) { m_inspector = std::move(inspector); }

    bool answered() const { return m_answered; }
    bool buttonFound() const { return m_buttonFound; }
    QString dialogClass() const { return m_class; }
    QString dialogTitle() const { return m_title; }
    QString dialogObjectName() const { return m_objectName; }
    QStringList buttonTexts() const { return m_buttons; }

    // Waits (processing events) until the dialog was answered; false on time-out.
    bool wait(int timeout = kTimeout);

    static QWidget* activeModal();

private:
    void poll();

    QTimer m_timer;
    QString m_text;
    int m_code = 0;
    bool m_byText = false;
    bool m_answered = false;
    bool m_buttonFound = false;
    int m_elapsed = 0;
    QString m_class;
    QString m_title;
    QString m_objectName;
    QStringList m_buttons;
    std::function<void(QWidget*)> m_inspector;
};

} // namespace TestSupport
