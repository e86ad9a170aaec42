#include "RIRurud/_Tuner/CelloTuner.h"

namespace RIRurud {

CelloTuner::CelloTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Cello]);
}

} // namespace RIRurud
