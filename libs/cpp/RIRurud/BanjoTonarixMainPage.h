#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class BanjoTonarix;

// The banjo page: the page's top bar above the banjo finder; addShopMenu() adds the banjo shop.
class BanjoTonarixMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit BanjoTonarixMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    BanjoTonarix* finder() const;
};

} // namespace RIRurud
