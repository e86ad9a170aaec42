#include "RIRurud/_Tuner/BanjoTuner.h"

namespace RIRurud {

BanjoTuner::BanjoTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Banjo]);
}

} // namespace RIRurud
