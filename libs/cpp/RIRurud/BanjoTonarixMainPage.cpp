#include "RIRurud/BanjoTonarixMainPage.h"

#include "RIRurud/BanjoShop.h"
#include "RIRurud/BanjoTonarix.h"

namespace RIRurud {

BanjoTonarixMainPage::BanjoTonarixMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kBanjo, new BanjoTonarix, parent)
{
}

void BanjoTonarixMainPage::addShopMenu()
{
    installShop(new BanjoShop(this));
}

BanjoTonarix* BanjoTonarixMainPage::finder() const
{
    return static_cast<BanjoTonarix*>(finderWidget());
}

} // namespace RIRurud
