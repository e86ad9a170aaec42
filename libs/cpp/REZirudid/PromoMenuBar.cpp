#include "REZirudid/PromoMenuBar.h"

#include "REZirudid/App.h"
#include "REZirudid/FrameworkFaces.h"

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QPushButton>

namespace REZirudid {

PromoMenuBar::PromoMenuBar(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("MenuBar"));
    setFixedHeight(45);

    QHBoxLayout* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(6);

    m_menu = new QMenu(this);
    App* app = App::theApp();
    for (const Faces::Face& face : Faces::kPromoButtons) {
        const QString name = QString::fromLatin1(face.objectName);
        QPushButton* button = new QPushButton;
        button->setObjectName(name);
        button->setFixedSize(face.width, face.height);
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolTip(tr(face.toolTip));
        if (name == QLatin1String("MoreButton")) {
            layout->addStretch(1);
            button->setMenu(m_menu);
        } else if (app) {
            if (name == QLatin1String("AppButton"))
                connect(button, &QPushButton::clicked, app, &App::slotAbout);
            else if (name == QLatin1String("MoreAppsButton"))
                connect(button, &QPushButton::clicked, app, &App::slotShowMoreApps);
            else if (name == QLatin1String("RateButton"))
                connect(button, &QPushButton::clicked, app, &App::slotRateApp);
            else if (name == QLatin1String("ShareButton"))
                connect(button, &QPushButton::clicked, app, &App::slotShareApp);
            else if (name == QLatin1String("IntroButton"))
                connect(button, &QPushButton::clicked, app, &App::slotHelp);
        }
        layout->addWidget(button);
    }
}

QPushButton* PromoMenuBar::button(const QString& objectName) const
{
    return findChild<QPushButton*>(objectName, Qt::FindDirectChildrenOnly);
}

QAction* PromoMenuBar::addMenuLink(const QPixmap& icon, const QString& title, const QString& url)
{
    QAction* action = m_menu->addAction(QIcon(icon), title);
    connect(action, &QAction::triggered, this, [this, url] { slotCallUrl(url); });
    return action;
}

void PromoMenuBar::addMenuAction(QAction* action)
{
    m_menu->addAction(action);
}

void PromoMenuBar::addMenuSeparator()
{
    m_menu->addSeparator();
}

void PromoMenuBar::hideRateButton()
{
    if (QPushButton* rate = button(QStringLiteral("RateButton")))
        rate->hide();
}

void PromoMenuBar::slotCallUrl(const QString& url)
{
    App::openUrl(url);
}

} // namespace REZirudid
