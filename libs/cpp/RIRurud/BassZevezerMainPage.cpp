#include "RIRurud/BassZevezerMainPage.h"

#include "RIRurud/BassShop.h"
#include "RIRurud/BassZevezer.h"

namespace RIRurud {

BassZevezerMainPage::BassZevezerMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kBass, new BassZevezer, parent)
{
}

void BassZevezerMainPage::addShopMenu()
{
    installShop(new BassShop(this));
}

BassZevezer* BassZevezerMainPage::finder() const
{
    return static_cast<BassZevezer*>(finderWidget());
}

} // namespace RIRurud
