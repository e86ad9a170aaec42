#include "RIRurud/BanjoTonarix.h"

#include "RIRurud/BanjoBoard.h"

namespace RIRurud {

BanjoTonarix::BanjoTonarix(QWidget* parent)
    : FinderWidget(FinderTables::kBanjo, new BanjoBoard, parent)
{
}

BanjoBoard* BanjoTonarix::board() const
{
    return static_cast<BanjoBoard*>(boardWidget());
}

} // namespace RIRurud
