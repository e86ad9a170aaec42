#include "RIRurud/MetronomeMainPage.h"

#include "RIRurud/Metronome.h"

#include "REZirudid/PromoMenuBar.h"

#include <QVBoxLayout>

namespace RIRurud {

MetronomeMainPage::MetronomeMainPage(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("MetronomeMainPage"));
    setMinimumSize(200, 200);
    m_promoMenuBar = new REZirudid::PromoMenuBar;
    m_metronome = new Metronome;
    m_promoMenuBar->hideRateButton();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Never smaller than the controls and the beat row need: squeezed, they would overlap.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addWidget(m_promoMenuBar);
    layout->addWidget(m_metronome);
}

} // namespace RIRurud
