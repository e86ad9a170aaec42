#pragma once

#include "RIRurud/ChordsMainPage.h"

namespace RIRurud {

// The piano's chord page: 132 chords on the 24 keys from C3 to B4.
class PianoChordsMainPage : public ChordsMainPage
{
    Q_OBJECT
public:
    explicit PianoChordsMainPage(QWidget* parent = nullptr);

    void addShopMenu() override;

    // Stores the keys of chord `index` (one value per key from C3, 0 pressed) and the notes it
    // sounds; any other value, and a key the list lacks, stays silent.
    void setChord(int index, const QVector<int>& keys);

protected:
    void initChords() override;
};

} // namespace RIRurud
