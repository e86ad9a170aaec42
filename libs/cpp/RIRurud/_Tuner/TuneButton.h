#pragma once

#include <QPushButton>

namespace RIRurud {

// One string button of a tuner page. Every click emits play(), checked or not.
class TuneButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TuneButton(QWidget* parent = nullptr);

    void sendPlay() { emit play(); }

signals:
    void play();
};

} // namespace RIRurud
