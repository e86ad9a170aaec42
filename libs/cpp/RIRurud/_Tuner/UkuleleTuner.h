#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the ukulele, built from its row of the tuner table.
class UkuleleTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit UkuleleTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
