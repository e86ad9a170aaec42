#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class UkuleleBoard;

// The ukulele's staff and board, wired together (see FinderWidget).
class UkuleleZevezer : public FinderWidget
{
    Q_OBJECT
public:
    explicit UkuleleZevezer(QWidget* parent = nullptr);

    UkuleleBoard* board() const;
};

} // namespace RIRurud
