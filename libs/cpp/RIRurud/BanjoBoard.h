#pragma once

#include "RIRurud/BoardBase.h"

namespace RIRurud {

// The banjo fingerboard: the shared board driven by the banjo table of BoardTables.h.
class BanjoBoard : public BoardBase
{
    Q_OBJECT
public:
    explicit BanjoBoard(QWidget* parent = nullptr);

    void initNotes() override;
    QString positionToNote(int x, int y) const override;
};

} // namespace RIRurud
