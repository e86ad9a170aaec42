#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class ViolinZevezer;

// The violin page: the page's top bar above the violin finder; addShopMenu() adds the violin shop.
class ViolinZevezerMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit ViolinZevezerMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    ViolinZevezer* finder() const;
};

} // namespace RIRurud
