#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class GuitarZevezer;

// The guitar page: the page's top bar above the guitar finder; addShopMenu() adds the guitar shop.
class GuitarZevezerMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit GuitarZevezerMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    GuitarZevezer* finder() const;
};

} // namespace RIRurud
