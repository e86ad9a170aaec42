#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the banjo, for the country of the system locale.
class BanjoShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit BanjoShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Banjo, parent)
    {
    }
};

} // namespace RIRurud
