#pragma once

#include <QFrame>

namespace REZirudid {
class PromoMenuBar;
}

namespace RIRurud {

class MusicShopBase;

// The frame of every instrument page: the page's top bar and, once the concrete page has chosen its
// instrument (addShopMenu()), a shop whose six links sit in the bar's "More" menu.
class BaseMainPage : public QFrame
{
    Q_OBJECT
public:
    explicit BaseMainPage(QWidget* parent = nullptr);

    REZirudid::PromoMenuBar* promoMenuBar() const { return m_promoMenuBar; }
    MusicShopBase* shop() const { return m_shop; }

    // Creates the instrument's shop with the page as parent, stores it and calls
    // doShopConnections(). Called once, after the page is constructed.
    virtual void addShopMenu() = 0;

public slots:
    void slotMustHave();
    void slotNiceToHave();
    void slotRead();
    void slotHear();
    void slotSee();
    void slotWikipedia();

protected:
    // Appends to the bar's menu: a separator, the five store entries, a separator, the
    // encyclopedia entry.
    void doShopConnections();
    void setShop(MusicShopBase* shop) { m_shop = shop; }

private:
    void openLink(QString (MusicShopBase::*link)() const);

    REZirudid::PromoMenuBar* m_promoMenuBar = nullptr;
    MusicShopBase* m_shop = nullptr;
};

} // namespace RIRurud
