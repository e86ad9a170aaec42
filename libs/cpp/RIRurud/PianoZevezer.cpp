#include "RIRurud/PianoZevezer.h"

#include "RIRurud/PianoBoard.h"

namespace RIRurud {

PianoZevezer::PianoZevezer(QWidget* parent)
    : FinderWidget(FinderTables::kPiano, new PianoBoard, nullptr, parent)
{
}

PianoBoard* PianoZevezer::board() const
{
    return static_cast<PianoBoard*>(boardWidget());
}

} // namespace RIRurud
