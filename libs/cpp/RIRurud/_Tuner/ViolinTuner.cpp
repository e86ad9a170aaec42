#include "RIRurud/_Tuner/ViolinTuner.h"

namespace RIRurud {

ViolinTuner::ViolinTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Violin]);
}

} // namespace RIRurud
