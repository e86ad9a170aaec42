#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class MandolinTonarix;

// The mandolin page: the page's top bar above the mandolin finder; addShopMenu() adds the mandolin shop.
class MandolinTonarixMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit MandolinTonarixMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    MandolinTonarix* finder() const;
};

} // namespace RIRurud
