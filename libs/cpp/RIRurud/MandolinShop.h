#pragma once

#include "RIRurud/MusicShopBase.h"

namespace RIRurud {

// The shop links of the mandolin, for the country of the system locale.
class MandolinShop : public MusicShopBase
{
    Q_OBJECT
public:
    explicit MandolinShop(QObject* parent = nullptr)
        : MusicShopBase(ShopLinks::Instrument::Mandolin, parent)
    {
    }
};

} // namespace RIRurud
