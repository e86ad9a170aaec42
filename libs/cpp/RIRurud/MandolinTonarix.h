#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class MandolinBoard;

// The mandolin's staff and board, wired together (see FinderWidget).
class MandolinTonarix : public FinderWidget
{
    Q_OBJECT
public:
    explicit MandolinTonarix(QWidget* parent = nullptr);

    MandolinBoard* board() const;
};

} // namespace RIRurud
