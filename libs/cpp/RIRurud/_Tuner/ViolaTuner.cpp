#include "RIRurud/_Tuner/ViolaTuner.h"

namespace RIRurud {

ViolaTuner::ViolaTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Viola]);
}

} // namespace RIRurud
