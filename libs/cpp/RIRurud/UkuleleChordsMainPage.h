#pragma once

#include "RIRurud/ChordsMainPage.h"

namespace RIRurud {

// The ukulele's chord page: 132 fingerings on the four strings G4 C4 E4 A4.
class UkuleleChordsMainPage : public ChordsMainPage
{
    Q_OBJECT
public:
    explicit UkuleleChordsMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;

    // Stores the fingering of chord `index` (frets of strings 1 to 4) and the notes it sounds; a
    // fret outside 0..8 leaves its string silent.
    void setChord(int index, int string1, int string2, int string3, int string4);

protected:
    void initChords() override;
};

} // namespace RIRurud
