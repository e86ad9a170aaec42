#include "RIRurud/ChordPhotoView.h"

#include "REZirudid/App.h"
#include <QPainter>

namespace RIRurud {

ChordPhotoView::ChordPhotoView(QWidget* parent)
    : ChordBaseView(parent)
{
}

void ChordPhotoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const REZirudid::App* app = REZirudid::App::theApp();
    if (app && app->isPocketDevice())
        painter.fillRect(rect(), QBrush(QPixmap(QStringLiteral(":/panelbackground.png"))));
    else
        painter.fillRect(rect(), QColor(71, 71, 71));
    drawCenteredPicture(&painter, picturePath(ChordBook::View::Photo));
}

} // namespace RIRurud
