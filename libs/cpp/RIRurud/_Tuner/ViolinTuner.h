#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the violin, built from its row of the tuner table.
class ViolinTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit ViolinTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
