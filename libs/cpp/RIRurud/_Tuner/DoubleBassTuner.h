#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the double bass, built from its row of the tuner table.
class DoubleBassTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit DoubleBassTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
