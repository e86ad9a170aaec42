#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class BalalaikaBoard;

// The balalaika's staff and board, wired together (see FinderWidget).
class BalalaikaTonarix : public FinderWidget
{
    Q_OBJECT
public:
    explicit BalalaikaTonarix(QWidget* parent = nullptr);

    BalalaikaBoard* board() const;
};

} // namespace RIRurud
