#include "MainPage.h"

#include "ItemsPanel.h"
#include "TonarixIdentity.h"

#include "REZirudid/App.h"
#include "REZirudid/PromoMenuBar.h"
#include "REZirudid/ScreenFit.h"
#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BoardBase.h"

#include <QHBoxLayout>
#include <QPixmap>
#include <QResizeEvent>
#include <QStackedWidget>

namespace {

const QString kWidthKey = QStringLiteral("Width");
const QString kHeightKey = QStringLiteral("Height");

template <size_t N>
void addLinks(REZirudid::PromoMenuBar* bar, const TonarixIdentity::AppLink (&links)[N])
{
    for (const TonarixIdentity::AppLink& link : links)
        bar->addMenuLink(QPixmap(QLatin1String(link.icon)), QLatin1String(link.title), TonarixIdentity::pageOf(link));
}

template <size_t N>
void fillPromotion(REZirudid::PromoMenuBar* bar, const TonarixIdentity::AppLink (&first)[N])
{
    addLinks(bar, first);
    bar->addMenuSeparator();
    addLinks(bar, TonarixIdentity::promoSecond);
}

constexpr int kNarrowestBoard = 400;

int storedSide(const QString& key, int fallback)
{
    bool ok = false;
    const int value = REZirudid::App::theApp()->settingsValue(key, fallback).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

MainPage::MainPage(QWidget* parent)
    : QFrame(parent)
{
    m_panel = new ItemsPanel;
    m_stack = new QStackedWidget;
    connect(m_panel, &ItemsPanel::itemChanged, this, &MainPage::slotItemChanged);

    m_balalaika = new RIRurud::BalalaikaTonarixMainPage;
    m_banjo = new RIRurud::BanjoTonarixMainPage;
    m_stack->addWidget(m_banjo);
    m_stack->addWidget(m_balalaika);

    fillPromotion(m_balalaika->promoMenuBar(), TonarixIdentity::balalaikaPromoFirst);
    m_balalaika->addShopMenu();
    fillPromotion(m_banjo->promoMenuBar(), TonarixIdentity::banjoPromoFirst);
    m_banjo->addShopMenu();

    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_panel);
    layout->addWidget(m_stack);
    setLayout(layout);

    // The boards ask for 800 pixels of width, more than a small screen leaves beside the column;
    // there they take what is left (a board draws and answers clicks at any width).
    auto* fit = new REZirudid::ScreenFit(this, [this](const QSize& room) {
        const int excess = this->layout()->totalMinimumSize().width() - room.width();
        if (excess > 0) {
            for (RIRurud::BoardBase* board : findChildren<RIRurud::BoardBase*>())
                board->setMinimumWidth(qMax(kNarrowestBoard, board->minimumWidth() - excess));
        }
    });
    resize(storedSize());
    fit->fit();
    REZirudid::App::theApp()->showHelpOnStart();
}

QSize MainPage::storedSize()
{
    // A stored side that is not a number (a hand-edited or damaged settings file) would read as
    // 0 and squeeze the window to its minimum; the default is kept instead.
    return QSize(storedSide(kWidthKey, kDefaultWidth), storedSide(kHeightKey, kDefaultHeight));
}

void MainPage::resizeEvent(QResizeEvent* e)
{
    REZirudid::App* app = REZirudid::App::theApp();
    app->setSettingsValue(kWidthKey, e->size().width());
    app->setSettingsValue(kHeightKey, e->size().height());
    QFrame::resizeEvent(e);
}

void MainPage::slotItemChanged(const QString& name)
{
    if (name == QLatin1String("BalalaikaItem"))
        m_stack->setCurrentWidget(m_balalaika);
    else if (name == QLatin1String("BanjoItem"))
        m_stack->setCurrentWidget(m_banjo);
}
