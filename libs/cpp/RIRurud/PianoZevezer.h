#pragma once

#include "RIRurud/FinderWidget.h"

namespace RIRurud {

class PianoBoard;

// The piano's staff and keyboard, following each other (see FinderWidget): find-note mode only, no
// trainer, the staff with its own settings.
class PianoZevezer : public FinderWidget
{
    Q_OBJECT
public:
    explicit PianoZevezer(QWidget* parent = nullptr);

    PianoBoard* board() const;
};

} // namespace RIRurud
