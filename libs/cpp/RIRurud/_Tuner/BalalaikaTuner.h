#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the balalaika, built from its row of the tuner table.
class BalalaikaTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit BalalaikaTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
