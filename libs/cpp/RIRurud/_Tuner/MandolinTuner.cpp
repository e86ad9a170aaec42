#include "RIRurud/_Tuner/MandolinTuner.h"

namespace RIRurud {

MandolinTuner::MandolinTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Mandolin]);
}

} // namespace RIRurud
