#pragma once

#include <QFrame>

namespace REZirudid {
class PromoMenuBar;
}

namespace RIRurud {

class Metronome;

// The metronome page: the page bar above the metronome.
class MetronomeMainPage : public QFrame
{
    Q_OBJECT
public:
    explicit MetronomeMainPage(QWidget* parent = nullptr);

    REZirudid::PromoMenuBar* promoMenuBar() const { return m_promoMenuBar; }
    Metronome* metronome() const { return m_metronome; }

private:
    REZirudid::PromoMenuBar* m_promoMenuBar = nullptr;
    Metronome* m_metronome = nullptr;
};

} // namespace RIRurud
