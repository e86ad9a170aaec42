#include "RIRurud/BaseMainPage.h"

#include "REZirudid/Common.h"
#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/MusicShopBase.h"
#include "RIRurud/ShopLinks.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QUrl>

namespace RIRurud {

BaseMainPage::BaseMainPage(QWidget* parent)
    : QFrame(parent)
    , m_promoMenuBar(new REZirudid::PromoMenuBar)
{
}

void BaseMainPage::doShopConnections()
{
    m_promoMenuBar->addMenuSeparator();
    for (QAction* action : ShopLinks::menuActions(this))
        m_promoMenuBar->addMenuAction(action);
}

void BaseMainPage::openLink(QString (MusicShopBase::*link)() const)
{
    if (!m_shop)
        return;
    QDesktopServices::openUrl(QUrl((m_shop->*link)(), QUrl::TolerantMode));
}

void BaseMainPage::slotMustHave() { openLink(&MusicShopBase::mustHave); }
void BaseMainPage::slotNiceToHave() { openLink(&MusicShopBase::niceToHave); }
void BaseMainPage::slotRead() { openLink(&MusicShopBase::read); }
void BaseMainPage::slotHear() { openLink(&MusicShopBase::hear); }
void BaseMainPage::slotSee() { openLink(&MusicShopBase::see); }
void BaseMainPage::slotWikipedia() { openLink(&MusicShopBase::wikipedia); }

} // namespace RIRurud
