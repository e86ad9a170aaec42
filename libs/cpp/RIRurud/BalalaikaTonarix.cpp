#include "RIRurud/BalalaikaTonarix.h"

#include "RIRurud/BalalaikaBoard.h"

namespace RIRurud {

BalalaikaTonarix::BalalaikaTonarix(QWidget* parent)
    : FinderWidget(FinderTables::kBalalaika, new BalalaikaBoard, parent)
{
}

BalalaikaBoard* BalalaikaTonarix::board() const
{
    return static_cast<BalalaikaBoard*>(boardWidget());
}

} // namespace RIRurud
