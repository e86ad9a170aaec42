#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class BassBoard;

// The bass's staff and board, wired together (see FinderWidget).
class BassZevezer : public FinderWidget
{
    Q_OBJECT
public:
    explicit BassZevezer(QWidget* parent = nullptr);

    BassBoard* board() const;
};

} // namespace RIRurud
