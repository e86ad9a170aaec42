#pragma once

#include <QDialog>

class QLabel;

namespace REZirudid {

// The framework's own modal message box: an icon, a word-wrapped text and one push button per
// standard-button flag. exec() ends with the flag of the pressed button.
class MessageBox : public QDialog
{
    Q_OBJECT
public:
    // The standard-button flags (the same values as QMessageBox's).
    enum Button {
        NoButton = 0,
        Ok = 0x00000400,
        Save = 0x00000800,
        SaveAll = 0x00001000,
        Open = 0x00002000,
        Yes = 0x00004000,
        YesToAll = 0x00008000,
        No = 0x00010000,
        NoToAll = 0x00020000,
        Abort = 0x00040000,
        Retry = 0x00080000,
        Ignore = 0x00100000,
        Close = 0x00200000,
        Cancel = 0x00400000,
        Discard = 0x00800000,
        Help = 0x01000000,
        Apply = 0x02000000,
        Reset = 0x04000000,
        RestoreDefaults = 0x08000000
    };
    enum Icon { NoIcon, Information, Warning, Question };

    MessageBox(QWidget* parent, Icon icon, const QString& title, const QString& text, int buttons);

    // The push buttons' visible texts, in the order they are shown.
    QStringList buttonTexts() const;
    // The flag answered when the box is closed without a button (Escape, the window's close box):
    // Cancel, No, Close or Abort when offered, the only button of a one-button box, else 0.
    int escapeFlag() const { return m_escapeFlag; }

    // Each runs the box modally and returns the flag of the pressed button. The last argument
    // (a default button) has no effect.
    static int information(QWidget* parent, const QString& title, const QString& text,
                           int buttons = Ok, int defaultButton = 0);
    static int warning(QWidget* parent, const QString& title, const QString& text,
                       int buttons = Ok, int defaultButton = 0);
    static int question(QWidget* parent, const QString& title, const QString& text,
                        int buttons = Yes | No, int defaultButton = 0);

    static QString buttonText(int flag);

protected:
    void reject() override;

private:
    int m_escapeFlag = 0;
    QStringList m_texts;
};

} // namespace REZirudid
