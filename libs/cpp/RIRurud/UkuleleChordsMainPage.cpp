#include "RIRurud/UkuleleChordsMainPage.h"

#include "RIRurud/ChordBook.h"
#include "RIRurud/ChordTables.h"
#include "RIRurud/UkuleleShop.h"

namespace RIRurud {

UkuleleChordsMainPage::UkuleleChordsMainPage(QWidget* parent)
    : ChordsMainPage(parent)
{
    setInstrumentName(QStringLiteral("ukulele"));
    setDelay(30);
    initChords();
    showFirstChord();
}

void UkuleleChordsMainPage::addShopMenu()
{
    setShop(new UkuleleShop(this));
    doShopConnections();
}

void UkuleleChordsMainPage::setChord(int index, int string1, int string2, int string3, int string4)
{
    const QVector<int> tab = {string1, string2, string3, string4};
    setChordEntry(index, tab, ChordBook::ukuleleSounds(bundleResourcePath(), tab));
}

void UkuleleChordsMainPage::initChords()
{
    for (int i = 0; i < ChordTables::kChordCount; ++i) {
        const auto& frets = ChordTables::kUkulele[i];
        setChord(i, frets[0], frets[1], frets[2], frets[3]);
    }
}

} // namespace RIRurud
