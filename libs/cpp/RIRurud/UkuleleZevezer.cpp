#include "RIRurud/UkuleleZevezer.h"

#include "RIRurud/UkuleleBoard.h"

namespace RIRurud {

UkuleleZevezer::UkuleleZevezer(QWidget* parent)
    : FinderWidget(FinderTables::kUkulele, new UkuleleBoard, parent)
{
}

UkuleleBoard* UkuleleZevezer::board() const
{
    return static_cast<UkuleleBoard*>(boardWidget());
}

} // namespace RIRurud
