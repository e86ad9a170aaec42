#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the guitar, for the country of the system locale.
class GuitarShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit GuitarShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Guitar, parent)
    {
    }
};

} // namespace RIRurud
