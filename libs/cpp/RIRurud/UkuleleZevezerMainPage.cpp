#include "RIRurud/UkuleleZevezerMainPage.h"

#include "RIRurud/UkuleleShop.h"
#include "RIRurud/UkuleleZevezer.h"

namespace RIRurud {

UkuleleZevezerMainPage::UkuleleZevezerMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kUkulele, new UkuleleZevezer, parent)
{
}

void UkuleleZevezerMainPage::addShopMenu()
{
    installShop(new UkuleleShop(this));
}

UkuleleZevezer* UkuleleZevezerMainPage::finder() const
{
    return static_cast<UkuleleZevezer*>(finderWidget());
}

} // namespace RIRurud
