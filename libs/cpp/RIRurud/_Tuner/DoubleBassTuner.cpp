#include "RIRurud/_Tuner/DoubleBassTuner.h"

namespace RIRurud {

DoubleBassTuner::DoubleBassTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::DoubleBass]);
}

} // namespace RIRurud
