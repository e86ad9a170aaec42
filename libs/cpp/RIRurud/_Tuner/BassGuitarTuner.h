#pragma once

#include "RIRurud/_Tuner/TunerBasePage.h"

namespace RIRurud {

// The tuner page of the bass guitar: four strings at start; its Modes menu adds the low B0
// string of a five-string bass and takes it away again. The choice is not stored.
class BassGuitarTuner : public TunerBasePage
{
    Q_OBJECT
public:
    explicit BassGuitarTuner(QWidget* parent = nullptr);

public slots:
    void slot5Strings();
    void slot4Strings();
};

} // namespace RIRurud
