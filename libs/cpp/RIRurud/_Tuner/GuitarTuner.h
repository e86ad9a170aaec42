#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the guitar, built from its row of the tuner table.
class GuitarTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit GuitarTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
