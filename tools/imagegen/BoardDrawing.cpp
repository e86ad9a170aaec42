#include "BoardDrawing.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

namespace imagegen {

void woodGrain(QPainter& p, const QPainterPath& clip, const QRectF& area, const QColor& base, const QColor& light,
               quint32 seed, double lineSpacing, bool horizontal)
{
    p.save();
    p.setClipPath(clip, Qt::IntersectClip);
    QLinearGradient grad(area.topLeft(), horizontal ? area.bottomLeft() : area.topRight());
    grad.setColorAt(0, light);
    grad.setColorAt(0.45, base);
    grad.setColorAt(1, base.darker(125));
    p.fillRect(area, grad);
    QRandomGenerator rng(seed);
    const int count = int((horizontal ? area.height() : area.width()) / lineSpacing);
    for (int i = 0; i < count; ++i) {
        const double t = (i + rng.bounded(1.0)) / count;
        QPainterPath line;
        const double amp = 0.3 + rng.bounded(1.2);
        const double phase = rng.bounded(6.28);
        const double freq = 0.004 + rng.bounded(0.01);
        const int steps = 60;
        for (int k = 0; k <= steps; ++k) {
            const double u = double(k) / steps;
            double x, y;
            if (horizontal) {
                x = area.left() + area.width() * u;
                y = area.top() + area.height() * t + amp * qSin(phase + x * freq * 6.28);
            } else {
                y = area.top() + area.height() * u;
                x = area.left() + area.width() * t + amp * qSin(phase + y * freq * 6.28);
            }
            if (k == 0)
                line.moveTo(x, y);
            else
                line.lineTo(x, y);
        }
        QColor c = rng.bounded(2) ? base.darker(112 + rng.bounded(25)) : light;
        c.setAlphaF(0.18 + rng.bounded(0.25));
        p.setPen(QPen(c, 0.25 + rng.bounded(0.5)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    p.restore();
}

void softShadow(QPainter& p, const QPainterPath& path, const QPointF& offset, int layers, double alpha)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = layers; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, int(255 * alpha)));
        QTransform t;
        t.translate(offset.x(), offset.y());
        QPainterPathStroker stroker;
        stroker.setWidth(i * 1.6);
        stroker.setJoinStyle(Qt::RoundJoin);
        const QPainterPath grown = stroker.createStroke(path).united(path);
        p.drawPath(t.map(grown));
    }
    p.restore();
}

void metalDisc(QPainter& p, const QPointF& c, double r)
{
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.4);
    g.setColorAt(0, QColor(0xF6, 0xF7, 0xF8));
    g.setColorAt(0.5, palette::fretSilver());
    g.setColorAt(1, palette::fretSilver().darker(170));
    p.setPen(QPen(QColor(0x55, 0x55, 0x58), 0.35));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void positionMark(QPainter& p, const QPointF& c, double rx, double ry)
{
    p.setPen(Qt::NoPen);
    // The ring and the mark sit a little up and left of the rim, as lit from there, so the rim
    // shows as a shadow below and right; nothing reaches past (rx, ry). Rim and ring stay thin, so
    // that even a small mark is mostly red.
    const QPointF lift(-0.03 * rx, -0.04 * ry);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(c, rx, ry);
    p.setBrush(palette::markRing());
    p.drawEllipse(c + lift, 0.92 * rx, 0.92 * ry);
    QRadialGradient g(c + lift - QPointF(0.3 * rx, 0.3 * ry), 1.1 * qMax(rx, ry));
    g.setColorAt(0, palette::mark().lighter(115));
    g.setColorAt(0.55, palette::mark());
    g.setColorAt(1, palette::mark().darker(110));
    p.setBrush(g);
    p.drawEllipse(c + lift, 0.78 * rx, 0.78 * ry);
}

void pearlDot(QPainter& p, const QPointF& c, double r)
{
    QRadialGradient g(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    g.setColorAt(0, QColor(0xFF, 0xFD, 0xF6));
    g.setColorAt(0.6, palette::bone());
    g.setColorAt(1, QColor(0xC9, 0xD6, 0xD4));
    p.setPen(QPen(QColor(0, 0, 0, 70), 0.3));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void feltBackground(QPainter& p, const QRectF& area)
{
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, QColor(0x2F, 0x26, 0x20));
    g.setColorAt(0.55, QColor(0x26, 0x1E, 0x19));
    g.setColorAt(1, QColor(0x1A, 0x14, 0x10));
    p.fillRect(area, g);
    // A faint felt texture, so the surface does not look flat.
    QRandomGenerator rng(7);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 900; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()), area.top() + rng.bounded(area.height()));
        p.setBrush(QColor(255, 240, 220, 4 + rng.bounded(6)));
        p.drawEllipse(c, 0.6 + rng.bounded(1.6), 0.6 + rng.bounded(1.6));
    }
    QRadialGradient v(area.center(), area.width() * 0.6);
    v.setColorAt(0, QColor(255, 220, 170, 14));
    v.setColorAt(1, QColor(0, 0, 0, 60));
    p.fillRect(area, v);
}

void sideCanvas(QPainter& p, QImage& image)
{
    image = QImage(kSidePictureWidth, kSidePictureHeight, QImage::Format_RGB32);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = kSidePictureWidth / 200.0;
    p.scale(unit, unit);
    const QRectF area(0, 0, 200, kSidePictureHeight / unit);
    QLinearGradient paper(area.topLeft(), area.bottomRight());
    paper.setColorAt(0, palette::paper());
    paper.setColorAt(1, palette::panel());
    p.fillRect(area, paper);
    // A warm vignette that frames the detail.
    QRadialGradient glow(QPointF(100, 150), 190);
    glow.setColorAt(0, QColor(255, 250, 240, 0));
    glow.setColorAt(1, QColor(120, 90, 60, 60));
    p.fillRect(area, glow);
}

} // namespace imagegen
