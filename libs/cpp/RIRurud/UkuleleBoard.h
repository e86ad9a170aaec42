#pragma once

#include "RIRurud/BoardBase.h"

namespace RIRurud {

// The ukulele fingerboard: the shared board driven by the ukulele table of BoardTables.h.
class UkuleleBoard : public BoardBase
{
    Q_OBJECT
public:
    explicit UkuleleBoard(QWidget* parent = nullptr);

    void initNotes() override;
    QString positionToNote(int x, int y) const override;
};

} // namespace RIRurud
