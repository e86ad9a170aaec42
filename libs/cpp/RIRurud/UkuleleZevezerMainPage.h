#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class UkuleleZevezer;

// The ukulele page: the page's top bar above the ukulele finder; addShopMenu() adds the ukulele shop.
class UkuleleZevezerMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit UkuleleZevezerMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    UkuleleZevezer* finder() const;
};

} // namespace RIRurud
