#include "RIRurud/BaseMainPage.h"

#include "REZirudid/Common.h"
#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/MusicShopBase.h"

#include <QAction>
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
    struct Entry
    {
        const char* icon;
        const char* text;
        const char* slot;
    };
    static const Entry entries[] = {
        {":/musthave.png", QT_TR_NOOP("Must Have"), SLOT(slotMustHave())},
        {":/nicetohave.png", QT_TR_NOOP("Nice to Have"), SLOT(slotNiceToHave())},
        {":/read.png", QT_TR_NOOP("Read"), SLOT(slotRead())},
        {":/ohr.png", QT_TR_NOOP("Hear"), SLOT(slotHear())},
        {":/eye.png", QT_TR_NOOP("See"), SLOT(slotSee())},
        {":/wikipedia.png", QT_TR_NOOP("Wikipedia"), SLOT(slotWikipedia())},
    };

    m_promoMenuBar->addMenuSeparator();
    for (int i = 0; i < 6; ++i) {
        if (i == 5)
            m_promoMenuBar->addMenuSeparator();
        const Entry& e = entries[i];
        auto* action = new QAction(REZirudid::Common::sharpIcon(QString::fromLatin1(e.icon)), tr(e.text), this);
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
