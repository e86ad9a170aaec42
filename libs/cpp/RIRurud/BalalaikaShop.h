#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the balalaika, for the country of the system locale.
class BalalaikaShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit BalalaikaShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Balalaika, parent)
    {
    }
};

} // namespace RIRurud
