#include "RIRurud/PianoChordsMainPage.h"

#include "RIRurud/ChordBook.h"
#include "RIRurud/PianoShop.h"

namespace RIRurud {

PianoChordsMainPage::PianoChordsMainPage(QWidget* parent)
    : ChordsMainPage(parent)
{
    setInstrumentName(QStringLiteral("piano"));
    setDelay(40);
    initChords();
    showFirstChord();
}

void PianoChordsMainPage::addShopMenu()
{
    setShop(new PianoShop(this));
    doShopConnections();
}

void PianoChordsMainPage::setChord(int index, const QVector<int>& keys)
{
    setChordEntry(index, keys, ChordBook::pianoSounds(bundleResourcePath(), keys));
}

void PianoChordsMainPage::initChords()
{
    for (int i = 0; i < ChordBook::kChordCount; ++i)
        setChord(i, ChordBook::pianoTab(i));
}

} // namespace RIRurud
