#pragma once

#include <QFrame>

class QCheckBox;
class QHBoxLayout;
class QMenu;
class QPushButton;

namespace RIRurud {

// The row of controls every tuner view shares: a Repeat check box (play a string's tone once or
// every second), a Pitch button whose menu chooses the concert pitch, and an App button with the
// application-wide actions. The pitch is not handed to anybody: it is stored under "Pitch", which
// the tuner pages read at every tone.
class TunersCommonPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TunersCommonPanel(QWidget* parent = nullptr);

    // Shows "A4:<hz>Hz" on the pitch button and stores hz under "Pitch"; any integer is taken.
    void setPitch(int hz);

    // The concert pitch tones are played at: the stored "Pitch", or 440 when nothing is stored or
    // what is stored is not a positive number (a stored pitch outside the menu, such as 441, stays).
    static int storedPitch();

    QPushButton* pitchButton() const { return m_pitchButton; }
    QCheckBox* repeatCheckBox() const { return m_repeatCheckBox; }
    QPushButton* appButton() const { return m_appButton; }

signals:
    void repeatModeChangedTo(bool on);

public slots:
    void slotSetPitch415();
    void slotSetPitch430();
    void slotSetPitch435();
    void slotSetPitch439();
    void slotSetPitch440();
    void slotSetPitch442();
    void slotSetPitch443();
    void slotSetPitch445();
    void slotSetPitch452();
    void slotSetPitch460();
    void slotAbout();
    void slotRepeatModeChanged(bool on);

protected:
    QHBoxLayout* m_layout = nullptr;
    QPushButton* m_pitchButton = nullptr;
    QCheckBox* m_repeatCheckBox = nullptr;
    QPushButton* m_appButton = nullptr;

private:
    QMenu* buildPitchMenu();
    QMenu* buildAppMenu();
};

} // namespace RIRurud
