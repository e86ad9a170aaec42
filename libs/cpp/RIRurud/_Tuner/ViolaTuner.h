#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the viola, built from its row of the tuner table.
class ViolaTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit ViolaTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
