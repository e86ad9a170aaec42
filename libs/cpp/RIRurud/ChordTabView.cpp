#include "RIRurud/ChordTabView.h"

#include <QPainter>

namespace RIRurud {

ChordTabView::ChordTabView(QWidget* parent)
    : ChordBaseView(parent)
{
}

void ChordTabView::paintEvent(QPaintEvent*)
{
    paintChart(false);
}

void ChordTabView::drawKeys(QPainter* painter)
{
    drawKeysPicture(painter, picturePath(ChordBook::View::Tablature));
}

void ChordTabView::drawStrings(QPainter* painter)
{
    const int w = width();
    const int h = height();
    const int n = m_tab.size();

    const int step = (h - 10) / (n + 1);
    QFont font = painter->font();
    font.setPixelSize(qMax(1, h / 7));
    // The name stays clear of the number on the first line.
    drawName(painter, 15 + step + h / 14 - 1 - QFontMetrics(font).ascent() - 1);

    font.setPixelSize(qMax(1, h / 7 + (10 * n) / 40));
    painter->setFont(font);
    painter->drawText(QRect(QPoint(40, step + 15), QPoint(w - 41, n * step + 14)), Qt::AlignRight | Qt::AlignVCenter,
                      QStringLiteral("T\nA\nB"));

    font.setPixelSize(qMax(1, h / 7));
    painter->setFont(font);
    const QFontMetrics metrics(font);
    for (int k = 1; k <= n; ++k) {
        const int y = 15 + k * step;
        painter->drawLine(40, y, w - 40, y);
        const int value = m_tab.at(n - k);
        if (value < 0)
            continue;
        // The line stops short of the number, so that it reads as one on the line.
        const QString text = QString::number(value);
        const QPoint baseline(w / 2, y + h / 14 - 1);
        painter->fillRect(metrics.tightBoundingRect(text).translated(baseline).adjusted(-3, -1, 3, 1), Qt::white);
        painter->drawText(baseline, text);
    }
    painter->drawLine(40, step + 15, 40, n * step + 15);
    painter->drawLine(44, step + 15, 44, n * step + 15);
}

} // namespace RIRurud
