#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the banjo (the short G4 string leftmost), built from its row of the tuner table.
class BanjoTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit BanjoTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
