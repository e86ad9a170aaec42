#include "RIRurud/ViolinZevezerMainPage.h"

#include "RIRurud/ViolinShop.h"
#include "RIRurud/ViolinZevezer.h"

namespace RIRurud {

ViolinZevezerMainPage::ViolinZevezerMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kViolin, new ViolinZevezer, parent)
{
}

void ViolinZevezerMainPage::addShopMenu()
{
    installShop(new ViolinShop(this));
}

ViolinZevezer* ViolinZevezerMainPage::finder() const
{
    return static_cast<ViolinZevezer*>(finderWidget());
}

} // namespace RIRurud
