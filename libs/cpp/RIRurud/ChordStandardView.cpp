#include "RIRurud/ChordStandardView.h"

#include <QPainter>

namespace RIRurud {

ChordStandardView::ChordStandardView(QWidget* parent)
    : ChordBaseView(parent)
{
}

void ChordStandardView::paintEvent(QPaintEvent*)
{
    paintChart(true);
}

void ChordStandardView::drawKeys(QPainter* painter)
{
    drawKeysPicture(painter, picturePath(ChordBook::View::Diagram));
}

void ChordStandardView::drawStrings(QPainter* painter)
{
    const int w = width();
    const int h = height();
    const int n = m_tab.size();

    const int step = (h - 10) / (n + 1);
    const int d = int(float(h / 10.0));
    // The name stays clear of a dot on the first string.
    drawName(painter, step + 10 - d / 2 - 1);

    QFont font = painter->font();
    font.setPixelSize(qMax(1, h / 7 - 2));
    painter->setFont(font);
    for (int k = 1; k <= n; ++k)
        painter->drawLine(30, 10 + k * step, w - 30, 10 + k * step);

    // The low-tuned bass shows frets 5 to 12 and no nut; the banjo's short string runs beside the
    // grid, so frets and nut stop at the line above it.
    const bool lowBass = m_instrumentName == QLatin1String("bass2");
    const int cells = lowBass ? 8 : 6;
    const int base = lowBass ? 4 : 0;
    const int last = m_instrumentName == QLatin1String("banjo") ? n - 1 : n;
    const int bottom = last * step + 10;
    const int fretStep = (w - 60) / cells;
    for (int i = 0; i <= cells; ++i) {
        const int x = int(float(i * fretStep) + 30.0f);
        painter->drawLine(x, step + 10, x, bottom);
        if (i >= 1)
            painter->drawText(QPoint(x - fretStep / 2 - 3, (last + 1) * step + 10), QString::number(i + base));
    }

    for (int j = 0; j < n; ++j) {
        const int value = m_tab.at(j);
        const int top = (n - j) * step + 10 - d / 2;
        painter->save();
        if (value > 0) {
            painter->setBrush(Qt::black);
            painter->drawEllipse(QRect((value - base) * fretStep + 30 - fretStep / 2 - d / 2, top, d, d));
        } else {
            // Left of the nut, in the room before it: a tall chart's mark is made smaller and
            // drawn with a finer pen rather than cut off at the edge (an outline, and a cross's
            // square ends, reach a pen's width beyond the box).
            const int room = 30 - h / 40;
            const int pen = qMax(1, qMin(painter->pen().width(), room / 8));
            const int e = qMax(1, qMin(d, room - pen - 1));
            const QRect box(room - e, top + (d - e) / 2, e, e);
            painter->setPen(QPen(painter->pen().color(), pen));
            if (value == 0) {
                painter->setBrush(Qt::NoBrush);
                painter->drawEllipse(box);
            } else {
                painter->drawLine(box.topLeft(), box.bottomRight());
                painter->drawLine(box.bottomLeft(), box.topRight());
            }
        }
        painter->restore();
    }

    if (!lowBass) {
        painter->setPen(QPen(Qt::black, h / 20));
        painter->drawLine(30, step + 10, 30, bottom);
    }
}

} // namespace RIRurud
