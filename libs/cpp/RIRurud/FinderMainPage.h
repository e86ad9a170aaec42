#pragma once

#include "RIRurud/BaseMainPage.h"
#include "RIRurud/FinderTables.h"

namespace RIRurud {

// An instrument page around a finder widget: the page's top bar above the finder. The concrete page
// picks its finder and, in addShopMenu(), its shop.
class FinderMainPage : public BaseMainPage
{
    Q_OBJECT
public:
    QWidget* finderWidget() const { return m_finder; }

protected:
    FinderMainPage(const FinderTables::FinderSpec& spec, QWidget* finder, QWidget* parent);
    // Stores the shop (a child of the page) and adds its entries to the bar's menu.
    void installShop(MusicShopBase* shop);

private:
    QWidget* m_finder = nullptr;
};

} // namespace RIRurud
