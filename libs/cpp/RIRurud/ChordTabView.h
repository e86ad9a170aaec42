#pragma once

#include "RIRurud/ChordBaseView.h"

namespace RIRurud {

// The tablature: the chord's name above one line a string, the fret of each sounding string
// written on its line. On the piano a picture of the chord's keys with their names.
class ChordTabView : public ChordBaseView
{
    Q_OBJECT
public:
    explicit ChordTabView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void drawStrings(QPainter* painter) override;
    void drawKeys(QPainter* painter) override;
};

} // namespace RIRurud
