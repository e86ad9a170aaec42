#include "RIRurud/_Tuner/DombraTuner.h"

namespace RIRurud {

DombraTuner::DombraTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Dombra]);
}

} // namespace RIRurud
