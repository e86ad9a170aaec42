#pragma once

#include "RIRurud/BoardBase.h"

namespace RIRurud {

// The violin fingerboard: the shared board driven by the violin table of BoardTables.h.
class ViolinBoard : public BoardBase
{
    Q_OBJECT
public:
    explicit ViolinBoard(QWidget* parent = nullptr);

    void initNotes() override;
    QString positionToNote(int x, int y) const override;
};

} // namespace RIRurud
