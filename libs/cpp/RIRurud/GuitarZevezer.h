#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class GuitarBoard;

// The guitar's staff and board, wired together (see FinderWidget); the board is the stand-alone
// GuitarBoard, whose Training button a refused Find Note checks again.
class GuitarZevezer : public FinderWidget
{
    Q_OBJECT
public:
    explicit GuitarZevezer(QWidget* parent = nullptr);

    GuitarBoard* board() const;

private:
    GuitarZevezer(GuitarBoard* board, QWidget* parent);
};

} // namespace RIRurud
