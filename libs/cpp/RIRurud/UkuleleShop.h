#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the ukulele, for the country of the system locale.
class UkuleleShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit UkuleleShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Ukulele, parent)
    {
    }
};

} // namespace RIRurud
