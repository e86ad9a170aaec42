#pragma once

#include "RIRurud/BoardBase.h"

namespace RIRurud {

// The balalaika fingerboard: the shared board driven by the balalaika table of BoardTables.h.
class BalalaikaBoard : public BoardBase
{
    Q_OBJECT
public:
    explicit BalalaikaBoard(QWidget* parent = nullptr);

    void initNotes() override;
    QString positionToNote(int x, int y) const override;
};

} // namespace RIRurud
