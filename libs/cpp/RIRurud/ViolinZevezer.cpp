#include "RIRurud/ViolinZevezer.h"

#include "RIRurud/ViolinBoard.h"

namespace RIRurud {

ViolinZevezer::ViolinZevezer(QWidget* parent)
    : FinderWidget(FinderTables::kViolin, new ViolinBoard, parent)
{
}

ViolinBoard* ViolinZevezer::board() const
{
    return static_cast<ViolinBoard*>(boardWidget());
}

} // namespace RIRurud
