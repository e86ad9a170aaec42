#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class BalalaikaTonarix;

// The balalaika page: the page's top bar above the balalaika finder; addShopMenu() adds the balalaika shop.
class BalalaikaTonarixMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit BalalaikaTonarixMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    BalalaikaTonarix* finder() const;
};

} // namespace RIRurud
