#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the bass guitar, for the country of the system locale.
class BassShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit BassShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Bass, parent)
    {
    }
};

} // namespace RIRurud
