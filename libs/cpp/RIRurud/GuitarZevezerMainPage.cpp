#include "RIRurud/GuitarZevezerMainPage.h"

#include "RIRurud/GuitarShop.h"
#include "RIRurud/GuitarZevezer.h"

namespace RIRurud {

GuitarZevezerMainPage::GuitarZevezerMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kGuitar, new GuitarZevezer, parent)
{
}

void GuitarZevezerMainPage::addShopMenu()
{
    installShop(new GuitarShop(this));
}

GuitarZevezer* GuitarZevezerMainPage::finder() const
{
    return static_cast<GuitarZevezer*>(finderWidget());
}

} // namespace RIRurud
