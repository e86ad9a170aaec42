#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the mandolin, built from its row of the tuner table.
class MandolinTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit MandolinTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
