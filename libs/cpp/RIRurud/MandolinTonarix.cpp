#include "RIRurud/MandolinTonarix.h"

#include "RIRurud/MandolinBoard.h"

namespace RIRurud {

MandolinTonarix::MandolinTonarix(QWidget* parent)
    : FinderWidget(FinderTables::kMandolin, new MandolinBoard, parent)
{
}

MandolinBoard* MandolinTonarix::board() const
{
    return static_cast<MandolinBoard*>(boardWidget());
}

} // namespace RIRurud
