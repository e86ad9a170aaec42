#include "RIRurud/GuitarZevezer.h"

#include "RIRurud/GuitarBoard.h"

namespace RIRurud {

GuitarZevezer::GuitarZevezer(QWidget* parent)
    : GuitarZevezer(new GuitarBoard, parent)
{
}

GuitarZevezer::GuitarZevezer(GuitarBoard* board, QWidget* parent)
    : FinderWidget(FinderTables::kGuitar, board, [board] { board->setTrainButtonChecked(); }, parent)
{
}

GuitarBoard* GuitarZevezer::board() const
{
    return static_cast<GuitarBoard*>(boardWidget());
}

} // namespace RIRurud
