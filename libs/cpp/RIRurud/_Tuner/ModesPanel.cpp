#include "RIRurud/_Tuner/ModesPanel.h"

#include "RIRurud/ShopLinks.h"

#include "REZirudid/Common.h"
#include "REZirudid/Links.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QSignalMapper>
#include <QUrl>

namespace RIRurud {

namespace {

void openLink(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

} // namespace

ModesPanel::ModesPanel(QWidget* parent)
    : TunersCommonPanel(parent)
{
    setObjectName(QStringLiteral("ModesPanel"));

    m_mapper = new QSignalMapper(this);
    connect(m_mapper, SIGNAL(mappedString(QString)), this, SLOT(slotCallUrl(QString)));

    m_modesButton = new QPushButton(tr("Modes"));
    m_moreButton = new QPushButton(tr("More"));
    for (QPushButton* button : {m_modesButton, m_moreButton}) {
        button->setFlat(true);
        button->setMinimumHeight(32);
        button->setObjectName(QStringLiteral("PanelButton"));
    }
    m_modesButton->hide();

    m_moreMenu = new QMenu(m_moreButton);
    m_moreButton->setMenu(m_moreMenu);

    m_layout->addWidget(m_modesButton);
    m_layout->addWidget(m_moreButton);
}

void ModesPanel::hideAppOptions()
{
    m_pitchButton->hide();
    m_repeatCheckBox->hide();
    m_appButton->hide();
}

void ModesPanel::addBaseActions()
{
    m_moreMenu->addActions(ShopLinks::menuActions(this));
}

void ModesPanel::addMenuLink(const QPixmap& icon, const QString& title, const QString& url)
{
    auto* action = new QAction(QIcon(icon), title, this);
    connect(action, SIGNAL(triggered()), m_mapper, SLOT(map()));
    m_mapper->setMapping(action, url);
    m_moreMenu->addAction(action);
}

void ModesPanel::addMenuAppLink(const QPixmap& icon, const QString& title, const QString& appName, const QString& storeId)
{
    addMenuLink(icon, title, storeLink(appName, storeId));
}

void ModesPanel::addMenuAction(QAction* action)
{
    m_moreMenu->addAction(action);
}

void ModesPanel::addMenuSeparator()
{
    m_moreMenu->addSeparator();
}

QString ModesPanel::storeLink(const QString& appName, const QString& storeId)
{
    return REZirudid::Links::storeEndpoint() + QStringLiteral("/app/") + appName.toLower() + QLatin1Char('/') + storeId
        + QStringLiteral("?ls=1&mt=12");
}

void ModesPanel::slotMustHave() { openLink(m_mustHave); }
void ModesPanel::slotNiceToHave() { openLink(m_niceToHave); }
void ModesPanel::slotRead() { openLink(m_read); }
void ModesPanel::slotHear() { openLink(m_hear); }
void ModesPanel::slotSee() { openLink(m_see); }
void ModesPanel::slotWikipedia() { openLink(m_wikipedia); }
void ModesPanel::slotCallUrl(const QString& url) { openLink(url); }

} // namespace RIRurud
