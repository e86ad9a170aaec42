#include "RIRurud/BalalaikaTonarixMainPage.h"

#include "RIRurud/BalalaikaShop.h"
#include "RIRurud/BalalaikaTonarix.h"

namespace RIRurud {

BalalaikaTonarixMainPage::BalalaikaTonarixMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kBalalaika, new BalalaikaTonarix, parent)
{
}

void BalalaikaTonarixMainPage::addShopMenu()
{
    installShop(new BalalaikaShop(this));
}

BalalaikaTonarix* BalalaikaTonarixMainPage::finder() const
{
    return static_cast<BalalaikaTonarix*>(finderWidget());
}

} // namespace RIRurud
