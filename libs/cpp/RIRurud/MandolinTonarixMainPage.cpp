#include "RIRurud/MandolinTonarixMainPage.h"

#include "RIRurud/MandolinShop.h"
#include "RIRurud/MandolinTonarix.h"

namespace RIRurud {

MandolinTonarixMainPage::MandolinTonarixMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kMandolin, new MandolinTonarix, parent)
{
}

void MandolinTonarixMainPage::addShopMenu()
{
    installShop(new MandolinShop(this));
}

MandolinTonarix* MandolinTonarixMainPage::finder() const
{
    return static_cast<MandolinTonarix*>(finderWidget());
}

} // namespace RIRurud
