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
    for (int i = 0; i < 6; ++i) {
        if (i == 5)
            m_promoMenuBar->addMenuSeparator();
        const ShopLinks::MenuEntry& e = ShopLinks::kMenuEntries[i];
        auto* action = new QAction(REZirudid::Common::sharpIcon(QString::fromLatin1(e.icon)),
                                   QCoreApplication::translate("RIRurud::ShopLinks", e.text), this);
        connect(action, SIGNAL(triggered(bool)), this, e.slot);
        m_promoMenuBar->addMenuAction(action);
    }
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
