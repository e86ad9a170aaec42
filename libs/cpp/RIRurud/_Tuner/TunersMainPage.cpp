#include "RIRurud/_Tuner/TunersMainPage.h"

#include "RIRurud/_Tuner/BalalaikaTuner.h"
#include "RIRurud/_Tuner/BanjoTuner.h"
#include "RIRurud/_Tuner/BassGuitarTuner.h"
#include "RIRurud/_Tuner/CelloTuner.h"
#include "RIRurud/_Tuner/DombraTuner.h"
#include "RIRurud/_Tuner/DoubleBassTuner.h"
#include "RIRurud/_Tuner/GuitarTuner.h"
#include "RIRurud/_Tuner/MandolinTuner.h"
#include "RIRurud/_Tuner/ModesPanel.h"
#include "RIRurud/_Tuner/TunerSettings.h"
#include "RIRurud/_Tuner/TunersExplorer.h"
#include "RIRurud/_Tuner/UkuleleTuner.h"
#include "RIRurud/_Tuner/ViolaTuner.h"
#include "RIRurud/_Tuner/ViolinTuner.h"

#include "REZirudid/App.h"
#include "REZirudid/ScreenFit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QUrl>

namespace RIRurud {

namespace {

TunerBasePage* createPage(TunerTables::Id id)
{
    switch (id) {
    case TunerTables::Violin: return new ViolinTuner;
    case TunerTables::Viola: return new ViolaTuner;
    case TunerTables::Cello: return new CelloTuner;
    case TunerTables::DoubleBass: return new DoubleBassTuner;
    case TunerTables::Guitar: return new GuitarTuner;
    case TunerTables::BassGuitar: return new BassGuitarTuner;
    case TunerTables::Ukulele: return new UkuleleTuner;
    case TunerTables::Banjo: return new BanjoTuner;
    case TunerTables::Balalaika: return new BalalaikaTuner;
    case TunerTables::Mandolin: return new MandolinTuner;
    case TunerTables::Dombra: return new DombraTuner;
    }
    return nullptr;
}

// A stored length, or the default when it is not a positive number.
int storedLength(const REZirudid::App* app, const QString& key, int fallback)
{
    bool ok = false;
    const int value = app ? app->settingsValue(key, fallback).toInt(&ok) : fallback;
    return ok && value > 0 ? value : fallback;
}

} // namespace

TunersMainPage::TunersMainPage(QWidget* parent, bool hideExplorer)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("MainPage"));
    qApp->setStyleSheet(strStyle);

    m_explorer = new TunersExplorer;
    if (hideExplorer)
        m_explorer->hide();

    m_stack = new QStackedWidget;
    for (int id = 0; id < TunerTables::kTunerCount; ++id)
        m_pages[id] = createPage(TunerTables::Id(id));
    for (int index = 0; index < TunerTables::kTunerCount; ++index) {
        for (int id = 0; id < TunerTables::kTunerCount; ++id) {
            if (TunerTables::kTuners[id].stackIndex == index)
                m_stack->addWidget(m_pages[id]);
        }
    }

    // Each explorer button reaches its page's slot, both named after the instrument.
    for (const TunerTables::Tuner& tuner : TunerTables::kTuners) {
        const QByteArray name(tuner.name);
        const bool connected = connect(m_explorer, ("2show" + name + "()").constData(), this,
                                       ("1slotShow" + name + "()").constData());
        Q_ASSERT_X(connected, "TunersMainPage", tuner.name);
        Q_UNUSED(connected)
    }
    connect(m_explorer, SIGNAL(showMore()), this, SLOT(slotGotoPromotedApp()));
    connect(m_explorer, SIGNAL(repeatModeChangedTo(bool)), this, SLOT(slotSetRepeatMode(bool)));

    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Raised);
    separator->setLineWidth(2);
    separator->setObjectName(QStringLiteral("MainSeparator"));

    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_explorer);
    layout->addWidget(separator);
    layout->addWidget(m_stack);
    setLayout(layout);

    // As a window of its own, held within its screen, title bar and all.
    auto* fit = new REZirudid::ScreenFit(this);
    resize(storedSize());
    fit->fit();
    m_stack->setCurrentWidget(m_pages[TunerTables::Guitar]);
}

QSize TunersMainPage::storedSize()
{
    const REZirudid::App* app = REZirudid::App::theApp();
    QSize size(storedLength(app, TunerSettings::width(), TunerSettings::kDefaultWidth),
               storedLength(app, TunerSettings::height(), TunerSettings::kDefaultHeight));
    // A size beyond the screen would only cost memory (the pictures are scaled to the page).
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    return size;
}

void TunersMainPage::hideAppOptionsOnEachPage()
{
    for (TunerBasePage* page : m_pages)
        page->hideAppOptions();
}

void TunersMainPage::showPage(TunerTables::Id id)
{
    m_stack->setCurrentWidget(m_pages[id]);
}

void TunersMainPage::slotShowViolin() { showPage(TunerTables::Violin); }
void TunersMainPage::slotShowViola() { showPage(TunerTables::Viola); }
void TunersMainPage::slotShowCello() { showPage(TunerTables::Cello); }
void TunersMainPage::slotShowDoubleBass() { showPage(TunerTables::DoubleBass); }
void TunersMainPage::slotShowGuitar() { showPage(TunerTables::Guitar); }
void TunersMainPage::slotShowBassGuitar() { showPage(TunerTables::BassGuitar); }
void TunersMainPage::slotShowUkulele() { showPage(TunerTables::Ukulele); }
void TunersMainPage::slotShowBanjo() { showPage(TunerTables::Banjo); }
void TunersMainPage::slotShowBalalaika() { showPage(TunerTables::Balalaika); }
void TunersMainPage::slotShowMandolin() { showPage(TunerTables::Mandolin); }
void TunersMainPage::slotShowDombra() { showPage(TunerTables::Dombra); }

void TunersMainPage::slotSetRepeatMode(bool on)
{
    for (TunerBasePage* page : m_pages)
        page->slotSetRepeatMode(on);
}

void TunersMainPage::slotGotoPromotedApp()
{
    QDesktopServices::openUrl(QUrl(ModesPanel::storeLink(QString::fromLatin1(TunerTables::kHarmolux.storeName),
                                                         QString::fromLatin1(TunerTables::kHarmolux.storeId))));
}

void TunersMainPage::resizeEvent(QResizeEvent* event)
{
    if (REZirudid::App* app = REZirudid::App::theApp()) {
        app->setSettingsValue(TunerSettings::width(), event->size().width());
        app->setSettingsValue(TunerSettings::height(), event->size().height());
    }
    QFrame::resizeEvent(event);
}

} // namespace RIRurud
