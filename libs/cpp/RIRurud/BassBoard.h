#pragma once

#include "RIRurud/BoardBase.h"

namespace RIRurud {

// The bass guitar fingerboard: the shared board driven by the bass guitar table of BoardTables.h.
class BassBoard : public BoardBase
{
    Q_OBJECT
public:
    explicit BassBoard(QWidget* parent = nullptr);

    void initNotes() override;
    QString positionToNote(int x, int y) const override;
};

} // namespace RIRurud
