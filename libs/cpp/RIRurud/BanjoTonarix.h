#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class BanjoBoard;

// The banjo's staff and board, wired together (see FinderWidget).
class BanjoTonarix : public FinderWidget
{
    Q_OBJECT
public:
    explicit BanjoTonarix(QWidget* parent = nullptr);

    BanjoBoard* board() const;
};

} // namespace RIRurud
