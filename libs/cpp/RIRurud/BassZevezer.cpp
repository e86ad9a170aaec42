#include "RIRurud/BassZevezer.h"

#include "RIRurud/BassBoard.h"

namespace RIRurud {

BassZevezer::BassZevezer(QWidget* parent)
    : FinderWidget(FinderTables::kBass, new BassBoard, parent)
{
}

BassBoard* BassZevezer::board() const
{
    return static_cast<BassBoard*>(boardWidget());
}

} // namespace RIRurud
