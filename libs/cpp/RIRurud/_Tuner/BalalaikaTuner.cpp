#include "RIRurud/_Tuner/BalalaikaTuner.h"

namespace RIRurud {

BalalaikaTuner::BalalaikaTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Balalaika]);
}

} // namespace RIRurud
