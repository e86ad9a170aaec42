#pragma once

#include "RIRurud/FinderMainPage.h"

namespace RIRurud {

class PianoZevezer;

// The piano page: the page's top bar above the piano finder; addShopMenu() adds the piano shop.
class PianoZevezerMainPage : public FinderMainPage
{
    Q_OBJECT
public:
    explicit PianoZevezerMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;
    PianoZevezer* finder() const;
};

} // namespace RIRurud
