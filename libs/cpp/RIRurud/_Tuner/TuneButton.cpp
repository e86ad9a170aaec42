#include "RIRurud/_Tuner/TuneButton.h"

namespace RIRurud {

TuneButton::TuneButton(QWidget* parent)
    : QPushButton(parent)
{
    // Connected before anybody else's clicked(): the tone sounds before the panel's bookkeeping.
    connect(this, SIGNAL(clicked()), this, SIGNAL(play()));
}

} // namespace RIRurud
