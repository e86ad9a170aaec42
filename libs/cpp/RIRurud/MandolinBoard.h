#pragma once

#include "RIRurud/BoardBase.h"

namespace RIRurud {

// The mandolin fingerboard: the shared board driven by the mandolin table of BoardTables.h.
class MandolinBoard : public BoardBase
{
    Q_OBJECT
public:
    explicit MandolinBoard(QWidget* parent = nullptr);

    void initNotes() override;
    QString positionToNote(int x, int y) const override;
};

} // namespace RIRurud
