#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the piano, for the country of the system locale.
class PianoShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit PianoShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Piano, parent)
    {
    }
};

} // namespace RIRurud
