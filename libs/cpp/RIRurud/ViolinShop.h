#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the violin, for the country of the system locale.
class ViolinShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit ViolinShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Violin, parent)
    {
    }
};

} // namespace RIRurud
