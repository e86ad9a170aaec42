#include "RIRurud/_Tuner/UkuleleTuner.h"

namespace RIRurud {

UkuleleTuner::UkuleleTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::Ukulele]);
}

} // namespace RIRurud
