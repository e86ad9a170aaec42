#include "RIRurud/_Tuner/GuitarTuner.h"

namespace RIRurud {

GuitarTuner::GuitarTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Guitar]);
}

} // namespace RIRurud
