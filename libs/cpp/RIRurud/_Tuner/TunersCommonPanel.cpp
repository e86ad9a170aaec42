#include "RIRurud/_Tuner/TunersCommonPanel.h"

#include "RIRurud/_Tuner/TunerSettings.h"
#include "RIRurud/_Tuner/TunerTables.h"

#include "REZirudid/Common.h"
#include "REZirudid/AboutDialog.h"
#include "REZirudid/App.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMetaMethod>
#include <QPushButton>

namespace RIRurud {

namespace {

QPushButton* panelButton(const QString& text)
{
    auto* button = new QPushButton(text);
    button->setFlat(true);
    button->setObjectName(QStringLiteral("PanelButton"));
    button->setMinimumHeight(32);
    return button;
}

} // namespace

TunersCommonPanel::TunersCommonPanel(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("TunersCommonPanel"));

    m_pitchButton = panelButton(tr("Pitch"));
    m_repeatCheckBox = new QCheckBox(tr("Repeat the Sounds"));
    m_appButton = panelButton(tr("App"));

    // Only the user's clicks reach the slot; setting the box below emits nothing.
    connect(m_repeatCheckBox, SIGNAL(clicked(bool)), this, SLOT(slotRepeatModeChanged(bool)));

    m_pitchButton->setMenu(buildPitchMenu());
    m_appButton->setMenu(buildAppMenu());

    m_layout = new QHBoxLayout;
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    m_layout->addWidget(m_repeatCheckBox);
    m_layout->addStretch(1);
    m_layout->addWidget(m_pitchButton);
    m_layout->addStretch(1);
    m_layout->addWidget(m_appButton);
    m_layout->addStretch(1);
    setLayout(m_layout);

    setPitch(storedPitch());
    const REZirudid::App* app = REZirudid::App::theApp();
    m_repeatCheckBox->setChecked(app && app->settingsValue(TunerSettings::repeat(), false).toBool());
}

// Each entry calls its own slot; the pitch is never read back from the entry's text, which a
// desktop may decorate with shortcut marks. The entry also carries its pitch as data.
QMenu* TunersCommonPanel::buildPitchMenu()
{
    auto* menu = new QMenu(m_pitchButton);
    const QMetaMethod triggered = QMetaMethod::fromSignal(&QAction::triggered);
    for (const TunerTables::ConcertPitch& pitch : TunerTables::kConcertPitches) {
        QAction* action = menu->addAction(tr(pitch.title));
        action->setData(pitch.hz);
        const QByteArray slot = "slotSetPitch" + QByteArray::number(pitch.hz) + "()";
        const int index = metaObject()->indexOfSlot(slot.constData());
        Q_ASSERT_X(index >= 0, "TunersCommonPanel", slot.constData());
        if (index >= 0)
            connect(action, triggered, this, metaObject()->method(index));
    }
    return menu;
}

QMenu* TunersCommonPanel::buildAppMenu()
{
    auto* menu = new QMenu(m_appButton);
    REZirudid::App* app = REZirudid::App::theApp();
    const auto add = [&](const char* icon, const QString& text, QObject* receiver, const char* slot) {
        QAction* action = menu->addAction(REZirudid::Common::sharpIcon(QString::fromLatin1(icon)), text);
        if (receiver)
            connect(action, SIGNAL(triggered()), receiver, slot);
    };
    if (REZirudid::App::isAppStore())
        add(":/star.png", tr("Rate this App"), app, SLOT(slotRateApp()));
    add(":/recommend.png", tr("Share"), app, SLOT(slotShareApp()));
    add(":/moreappsicon.png", tr("More Apps"), app, SLOT(slotShowMoreApps()));
    add(":/feedback.png", tr("Contacts Us"), app, SLOT(slotContactUs()));
    add(":/webpage.png", tr("Support Page"), app, SLOT(slotSupportPage()));
    add(":/appicon.png", tr("About"), this, SLOT(slotAbout()));
    menu->addSeparator();
    QAction* quit = menu->addAction(tr("Quit"));
    if (app)
        connect(quit, SIGNAL(triggered()), app, SLOT(quit()));
    return menu;
}

void TunersCommonPanel::setPitch(int hz)
{
    m_pitchButton->setText(QStringLiteral("A4:%1Hz").arg(hz));
    if (REZirudid::App* app = REZirudid::App::theApp())
        app->setSettingsValue(TunerSettings::pitch(), hz);
}

int TunersCommonPanel::storedPitch()
{
    const REZirudid::App* app = REZirudid::App::theApp();
    if (!app)
        return TunerTables::kDefaultPitch;
    bool ok = false;
    const int hz = app->settingsValue(TunerSettings::pitch(), TunerTables::kDefaultPitch).toInt(&ok);
    return ok && hz > 0 ? hz : TunerTables::kDefaultPitch;
}

void TunersCommonPanel::slotSetPitch415() { setPitch(415); }
void TunersCommonPanel::slotSetPitch430() { setPitch(430); }
void TunersCommonPanel::slotSetPitch435() { setPitch(435); }
void TunersCommonPanel::slotSetPitch439() { setPitch(439); }
void TunersCommonPanel::slotSetPitch440() { setPitch(440); }
void TunersCommonPanel::slotSetPitch442() { setPitch(442); }
void TunersCommonPanel::slotSetPitch443() { setPitch(443); }
void TunersCommonPanel::slotSetPitch445() { setPitch(445); }
void TunersCommonPanel::slotSetPitch452() { setPitch(452); }
void TunersCommonPanel::slotSetPitch460() { setPitch(460); }

void TunersCommonPanel::slotAbout()
{
    auto* about = new REZirudid::AboutDialog(this);
    about->exec();
    delete about;
}

void TunersCommonPanel::slotRepeatModeChanged(bool on)
{
    emit repeatModeChangedTo(on);
    if (REZirudid::App* app = REZirudid::App::theApp())
        app->setSettingsValue(TunerSettings::repeat(), on);
}

} // namespace RIRurud
