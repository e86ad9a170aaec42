#include "RIRurud/PianoZevezerMainPage.h"

#include "RIRurud/PianoShop.h"
#include "RIRurud/PianoZevezer.h"

namespace RIRurud {

PianoZevezerMainPage::PianoZevezerMainPage(QWidget* parent)
    : FinderMainPage(FinderTables::kPiano, new PianoZevezer, parent)
{
}

void PianoZevezerMainPage::addShopMenu()
{
    installShop(new PianoShop(this));
}

PianoZevezer* PianoZevezerMainPage::finder() const
{
    return static_cast<PianoZevezer*>(finderWidget());
}

} // namespace RIRurud
