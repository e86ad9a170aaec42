#pragma once

#include "RIRurud/ChordBaseView.h"

namespace RIRurud {

// The fingering diagram: the chord's name above a grid of strings and frets with a dot on every
// fretted string, a ring left of the nut for an open string and an X for a muted one. On the piano
// a keyboard picture with the chord's keys marked.
class ChordStandardView : public ChordBaseView
{
    Q_OBJECT
public:
    explicit ChordStandardView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void drawStrings(QPainter* painter) override;
    void drawKeys(QPainter* painter) override;
};

} // namespace RIRurud
