#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class BassZevezer;

// The bass page: the page's top bar above the bass finder; addShopMenu() adds the bass shop.
class BassZevezerMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit BassZevezerMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    BassZevezer* finder() const;
};

} // namespace RIRurud
