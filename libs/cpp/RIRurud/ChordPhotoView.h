#pragma once

#include "RIRurud/ChordBaseView.h"

namespace RIRurud {

// A picture of a hand playing the chord on the instrument, on a dark background.
class ChordPhotoView : public ChordBaseView
{
    Q_OBJECT
public:
    explicit ChordPhotoView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace RIRurud
