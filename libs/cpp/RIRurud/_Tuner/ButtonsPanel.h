#pragma once

#include <QFrame>
#include <QMap>

class QTimer;

namespace RIRurud {

class TuneButton;

// The row of ten string buttons at the bottom of a tuner page (a page shows and labels the ones
// its instrument has, centred) and the repeat mode: with repeat on, a click leaves its button
// alone checked and the checked button plays again every second.
class ButtonsPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kButtonCount = 10;
    static constexpr int kRepeatIntervalMs = 1000;

    explicit ButtonsPanel(QWidget* parent = nullptr);

    // The button under key 0..9, null for any other key.
    TuneButton* button(int index) const { return m_buttons.value(index, nullptr); }
    bool isRepeatMode() const { return m_repeatMode; }
    QTimer* repeatTimer() const { return m_timer; }

public slots:
    void slotClicked(bool checked);
    void slotTimeOut();
    void slotSetRepeatMode(bool on);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QMap<int, TuneButton*> m_buttons;
    bool m_repeatMode = false;
    QTimer* m_timer = nullptr;
};

} // namespace RIRurud
