#include "MainPage.h"

#include "ItemsPanel.h"
#include "TonarixIdentity.h"

#include "REZirudid/App.h"
#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BoardBase.h"

#include <QHBoxLayout>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
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

    resize(storedSize());
    fitIntoScreen();
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

void MainPage::showEvent(QShowEvent* e)
{
    // Once more with everything the window holds by now (the application adds its menu bar).
    fitIntoScreen();
    QFrame::showEvent(e);
}

void MainPage::fitIntoScreen()
{
    // A stored size from a larger screen, or a damaged one, would open the window beyond the
    // screen (and build pictures of that size); a layout taller than a small screen would push
    // the window's bottom out of reach. Both are held to the room the screen offers.
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    QSize room = screen->availableGeometry().size();
    if (const QWindow* window = windowHandle()) {
        const QMargins frame = window->frameMargins();
        room -= QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    const QLayout* box = layout();
    if (!box)
        return;
    // The boards ask for 800 pixels of width, more than a small screen leaves beside the column;
    // there they take what is left (a board draws and answers clicks at any width).
    const int excess = box->totalMinimumSize().width() - room.width();
    if (excess > 0) {
        for (RIRurud::BoardBase* board : findChildren<RIRurud::BoardBase*>())
            board->setMinimumWidth(qMax(kNarrowestBoard, board->minimumWidth() - excess));
    }
    setMinimumSize(box->totalMinimumSize().boundedTo(room));
    resize(size().boundedTo(room));
}

void MainPage::slotItemChanged(const QString& name)
{
    if (name == QLatin1String("BalalaikaItem"))
        m_stack->setCurrentWidget(m_balalaika);
    else if (name == QLatin1String("BanjoItem"))
        m_stack->setCurrentWidget(m_banjo);
}
