#include "RIRurud/ChordsMainPage.h"

#include "REZirudid/App.h"
#include "REZirudid/FrameworkFaces.h"
#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/ChordBook.h"
#include "RIRurud/ChordView.h"
#include "RIRurud/ChordsButtonsPanel.h"
#include "RIRurud/ChordsStyle.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/Transposer.h"

#include <QApplication>
#include <QVBoxLayout>

namespace RIRurud {

ChordsMainPage::ChordsMainPage(QWidget* parent)
    : BaseMainPage(parent)
    , m_sounds(ChordBook::kChordCount)
    , m_tabs(ChordBook::kChordCount)
    , m_panel(new ChordsButtonsPanel)
    , m_view(new ChordView)
    , m_transposer(new Transposer)
{
    setObjectName(QStringLiteral("MainPage"));
    setMinimumSize(400, 600);
    const REZirudid::App* app = REZirudid::App::theApp();
    m_bundleResourcePath = app ? app->bundleResourcePath() : QString();

    m_transposer->setChordsButtonsPanel(m_panel);
    connect(m_panel, &ChordsButtonsPanel::chordChanged, this, &ChordsMainPage::slotSetChordAndName);
    connect(m_view, &ChordView::play, this, &ChordsMainPage::slotPlay);
    connect(m_transposer, &Transposer::play, this, &ChordsMainPage::slotPlay);
    if (app && app->isPocketDevice()) {
        m_panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        m_view->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(promoMenuBar());
    layout->addWidget(m_panel);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_transposer);
}

void ChordsMainPage::setInstrumentName(const QString& name)
{
    m_view->setInstrumentName(name);
}

void ChordsMainPage::setChordEntry(int index, const QVector<int>& tab, const QStringList& sounds)
{
    if (index < 0 || index >= ChordBook::kChordCount)
        return;
    m_tabs[index] = tab;
    m_sounds[index] = sounds;
}

void ChordsMainPage::showFirstChord()
{
    m_view->setChordTabAndName(0, m_tabs.at(0), QStringLiteral("A"));
}

void ChordsMainPage::slotPlayChord(const QStringList& sounds)
{
    NoteName::playSoundFiles(sounds);
}

void ChordsMainPage::slotPlay()
{
    slotPlayChord(m_sounds.value(m_currentChord));
}

void ChordsMainPage::slotSetChordAndName(int n, const QString& str)
{
    if (n < 0 || n >= ChordBook::kChordCount)
        return;
    m_currentChord = n;
    m_view->setChordTabAndName(n, m_tabs.at(n), str);
}

int ChordsMainPage::currentChordIndex() const { return m_transposer->currentChordIndex(); }
void ChordsMainPage::setCurrentChordIndex(int index) { m_transposer->setCurrentChordIndex(index); }
QStringList ChordsMainPage::currentChords() const { return m_transposer->currentChords(); }
void ChordsMainPage::setCurrentChords(const QStringList& chords) { m_transposer->setCurrentChords(chords); }
void ChordsMainPage::updateState() { m_transposer->updateState(); }
void ChordsMainPage::recreateFavoritesMenu() { m_transposer->recreateFavoritesMenu(); }

QString ChordsMainPage::styleSheet(bool pocketDevice)
{
    // The page bar's picture buttons, from the framework's own table of faces.
    QString bar;
    for (const REZirudid::Faces::Face& face : REZirudid::Faces::kPromoButtons) {
        const QString name = QString::fromLatin1(face.objectName);
        const QString picture = QStringLiteral(":/") + QString::fromLatin1(face.picture);
        bar += QStringLiteral("QPushButton#%1{border-image:url(%2.png) 0 0 0 0;}"
                              "QPushButton#%1:hover{border-image:url(%2_hover.png) 0 0 0 0;}")
                   .arg(name, picture);
    }
    return QString(strChordsStyle)
        .replace(QLatin1String("$PANEL_BUTTON_SIZE"), pocketDevice ? QStringLiteral("24px") : QStringLiteral("28px"))
        .replace(QLatin1String("$QUALITY_BUTTON_WIDTH"), pocketDevice ? QStringLiteral("34px") : QStringLiteral("38px"))
        .replace(QLatin1String("$PANEL_FONT_SIZE"), pocketDevice ? QStringLiteral("13px") : QStringLiteral("15px"))
        .replace(QLatin1String("$PUSH_FONT_SIZE"), pocketDevice ? QStringLiteral("12px") : QStringLiteral("14px"))
        + bar;
}

void ChordsMainPage::applyStyle()
{
    const REZirudid::App* app = REZirudid::App::theApp();
    qApp->setStyleSheet(styleSheet(app && app->isPocketDevice()));
}

} // namespace RIRurud
