#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the dombra, built from its row of the tuner table.
class DombraTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit DombraTuner(QWidget* parent = nullptr);
};

} // namespace RIRurud
