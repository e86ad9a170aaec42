#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the cello, built from its row of the tuner table.
class CelloTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit CelloTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
