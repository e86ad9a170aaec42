#include "RIRurud/FinderMainPage.h"

#include "REZirudid/PromoMenuBar.h"

#include <QVBoxLayout>

namespace RIRurud {

FinderMainPage::FinderMainPage(const FinderTables::FinderSpec& spec, QWidget* finder, QWidget* parent)
    : BaseMainPage(parent)
    , m_finder(finder)
{
    setObjectName(QString::fromLatin1(spec.pageObjectName));
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(promoMenuBar());
    column->addWidget(m_finder);
    setLayout(column);
}

void FinderMainPage::installShop(MusicShopBase* shop)
{
    setShop(shop);
    doShopConnections();
}

} // namespace RIRurud
