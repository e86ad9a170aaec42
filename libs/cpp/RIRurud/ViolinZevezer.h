#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class ViolinBoard;

// The violin's staff and board, wired together (see FinderWidget).
class ViolinZevezer : public FinderWidget
{
    Q_OBJECT
public:
    explicit ViolinZevezer(QWidget* parent = nullptr);

    ViolinBoard* board() const;
};

} // namespace RIRurud
