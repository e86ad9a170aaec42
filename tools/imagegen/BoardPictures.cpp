// The fretted boards (balalaika, banjo, mandolin): the board pictures, one overlay per note and
// the two side pictures of each finder page. Everything is drawn from the tables the board widgets
// compile (RIRurud/BoardTables.h): strings run through the hot-spot centres, fret wires lie halfway
// between neighbouring spots and every overlay mark sits on a hot-spot centre, so what the user
// sees is what a click hits.
#include "ImageSink.h"
#include "Palette.h"

#include "RIRurud/BoardTables.h"
#include "RIRurud/FinderTables.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <functional>

namespace {

using namespace imagegen;
using RIRurud::BoardTables::BoardTable;
using RIRurud::BoardTables::HotSpot;
using RIRurud::BoardTables::StringLine;

// Every board picture and overlay: 2048 x 497 pixels for the 800 x 194 frame.
constexpr int kPictureWidth = 2048;
constexpr int kPictureHeight = 497;
constexpr double kFrameW = RIRurud::BoardTables::kFrameWidth;
constexpr double kFrameH = RIRurud::BoardTables::kFrameHeight;
// Overlay marks: radius in frame units (the training band keeps 80 pixels or more around a mark,
// a mark with its ring is about 30 pixels wide).
constexpr double kMarkRadius = 4.7;

enum class Kind { Balalaika, Banjo, Mandolin };

Kind kindOf(const BoardTable& table)
{
    if (&table == &RIRurud::BoardTables::kBanjo)
        return Kind::Banjo;
    if (&table == &RIRurud::BoardTables::kMandolin)
        return Kind::Mandolin;
    return Kind::Balalaika;
}

// ------------------------------------------------------------------------------------------------
// Geometry of one board, all in frame units.

struct Geometry
{
    const BoardTable* table = nullptr;
    Kind kind = Kind::Balalaika;
    QVector<StringLine> strings;   // one per string (the banjo's last is the short string)
    double nutX = 0;
    double endX = 0;               // where the fingerboard ends
    double edgeMargin = 8;

    double topEdge(double x) const { return strings.first().yAt(x) - edgeMargin; }
    double bottomEdge(double x) const
    {
        if (kind == Kind::Banjo) {
            // The banjo's neck widens past the fifth fret to carry the short string.
            const double narrow = strings.at(3).yAt(x) + edgeMargin;
            const double wide = strings.at(4).yAt(x) + edgeMargin - 1;
            const double t = qBound(0.0, (x - 282) / 22.0, 1.0);
            const double s = t * t * (3 - 2 * t);
            return narrow + (wide - narrow) * s;
        }
        return strings.last().yAt(x) + edgeMargin;
    }
};

Geometry geometryOf(const BoardTable& table)
{
    Geometry g;
    g.table = &table;
    g.kind = kindOf(table);
    for (int s = 0; s < table.stringCount; ++s) {
        StringLine line;
        // A string with a single marked spot (the banjo's short string) is fitted through all of
        // its spots, marked or not.
        if (!RIRurud::BoardTables::stringLine(table, s, &line))
            RIRurud::BoardTables::stringLine(table, s, &line, false);
        g.strings.append(line);
    }
    g.nutX = RIRurud::BoardTables::fretWireX(table, 0);
    g.endX = RIRurud::BoardTables::fretWireX(table, table.fretSpotCount - 1) + 6;
    g.edgeMargin = g.kind == Kind::Banjo ? 7.5 : 9;
    return g;
}

QPainterPath fingerboardPath(const Geometry& g, double from, double to)
{
    QPainterPath path;
    const int steps = 40;
    for (int i = 0; i <= steps; ++i) {
        const double x = from + (to - from) * i / steps;
        if (i == 0)
            path.moveTo(x, g.topEdge(x));
        else
            path.lineTo(x, g.topEdge(x));
    }
    for (int i = steps; i >= 0; --i) {
        const double x = from + (to - from) * i / steps;
        path.lineTo(x, g.bottomEdge(x));
    }
    path.closeSubpath();
    return path;
}

// ------------------------------------------------------------------------------------------------
// Materials.

void woodGrain(QPainter& p, const QPainterPath& clip, const QRectF& area, const QColor& base, const QColor& light,
               quint32 seed, double lineSpacing, bool horizontal = true)
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

void softShadow(QPainter& p, const QPainterPath& path, const QPointF& offset, int layers = 6, double alpha = 0.10)
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

void background(QPainter& p, const QRectF& area)
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

// ------------------------------------------------------------------------------------------------
// Instrument parts. Each draws in frame units of the board picture; the side pictures reuse them
// under a transform of their own.

// The headstock left of the nut, with its tuners; the strings end at the posts.
QVector<QPointF> drawHeadstock(QPainter& p, const Geometry& g)
{
    const double nut = g.nutX;
    const double top = g.topEdge(nut);
    const double bottom = g.kind == Kind::Banjo ? g.strings.at(3).yAt(nut) + g.edgeMargin : g.bottomEdge(nut);
    const double mid = (top + bottom) / 2;
    const double half = (bottom - top) / 2;
    QPainterPath head;
    QVector<QPointF> posts;
    const int strings = g.kind == Kind::Banjo ? 4 : g.table->stringCount;
    if (g.kind == Kind::Balalaika) {
        // A long paddle that flares a little toward its end.
        head.moveTo(nut + 2, top);
        head.cubicTo(nut - 40, top - 2, 40, mid - half - 10, 14, mid - half - 8);
        head.quadTo(4, mid, 14, mid + half + 8);
        head.cubicTo(40, mid + half + 10, nut - 40, bottom + 2, nut + 2, bottom);
        head.closeSubpath();
    } else if (g.kind == Kind::Banjo) {
        // A scalloped banjo peghead.
        head.moveTo(nut + 2, top);
        head.cubicTo(nut - 20, top - 1, 66, mid - half - 12, 44, mid - half - 14);
        head.quadTo(28, mid - half - 22, 14, mid - half - 8);
        head.quadTo(2, mid, 14, mid + half + 8);
        head.quadTo(28, mid + half + 22, 44, mid + half + 14);
        head.cubicTo(66, mid + half + 12, nut - 20, bottom + 1, nut + 2, bottom);
        head.closeSubpath();
    } else {
        // An A-style mandolin paddle with a scroll-like tip.
        head.moveTo(nut + 2, top);
        head.cubicTo(nut - 40, top - 4, 110, mid - half - 14, 70, mid - half - 12);
        head.cubicTo(48, mid - half - 11, 40, mid - half + 4, 52, mid - 10);
        head.quadTo(34, mid, 52, mid + 10);
        head.cubicTo(40, mid + half - 4, 48, mid + half + 11, 70, mid + half + 12);
        head.cubicTo(110, mid + half + 14, nut - 40, bottom + 4, nut + 2, bottom);
        head.closeSubpath();
    }
    // Posts: spread along the paddle, the strings reach them along their own lines.
    const double right = g.kind == Kind::Banjo ? nut - 38 : (g.kind == Kind::Mandolin ? nut - 42 : nut - 48);
    const double left = g.kind == Kind::Banjo ? 26 : (g.kind == Kind::Mandolin ? 70 : 28);
    for (int s = 0; s < strings; ++s) {
        const double x = strings == 1 ? right : left + (right - left) * (strings - 1 - s) / (strings - 1);
        posts.append(QPointF(x, g.strings.at(s).yAt(x)));
    }
    // Tuners: a shaft out of the paddle's side with a bone button, alternating up and down; drawn
    // first, so the shafts come out from under the paddle.
    for (int s = 0; s < strings; ++s) {
        const QPointF post = posts.at(s);
        const bool up = s % 2 == 0;
        double edge = post.y();
        while (head.contains(QPointF(post.x(), edge)) && qAbs(edge - post.y()) < 80)
            edge += up ? -0.5 : 0.5;
        const QPointF key(post.x(), edge + (up ? -9.5 : 9.5));
        QLinearGradient shaft(QPointF(post.x() - 1.2, 0), QPointF(post.x() + 1.2, 0));
        shaft.setColorAt(0, palette::fretSilver().darker(160));
        shaft.setColorAt(0.5, QColor(0xF0, 0xF1, 0xF2));
        shaft.setColorAt(1, palette::fretSilver().darker(170));
        p.setPen(Qt::NoPen);
        p.setBrush(shaft);
        p.drawRect(QRectF(post.x() - 1.1, qMin(post.y(), key.y()), 2.2, qAbs(key.y() - post.y())));
        // The gear housing where the shaft leaves the paddle.
        QRectF housing(post.x() - 3.2, edge - (up ? 3.5 : 0.5), 6.4, 4);
        p.setBrush(palette::fretSilver().darker(115));
        p.setPen(QPen(QColor(0x50, 0x50, 0x52), 0.4));
        p.drawRoundedRect(housing, 1, 1);
        QPainterPath button;
        button.addRoundedRect(QRectF(key.x() - 6.5, key.y() - 4.5, 13, 9), 4.2, 4.2);
        QLinearGradient bg(key - QPointF(0, 4.5), key + QPointF(0, 4.5));
        bg.setColorAt(0, QColor(0xFF, 0xFB, 0xF0));
        bg.setColorAt(0.5, palette::bone());
        bg.setColorAt(1, palette::bone().darker(140));
        p.setPen(QPen(QColor(0x4A, 0x40, 0x30), 0.5));
        p.setBrush(bg);
        p.drawPath(button);
    }
    softShadow(p, head, QPointF(1.5, 3));
    woodGrain(p, head, head.boundingRect().adjusted(-2, -2, 2, 2), palette::rosewood().darker(115),
              palette::rosewoodLight(), 11 + strings, 1.6);
    p.setPen(QPen(QColor(0x1A, 0x10, 0x0A), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
    // A pale binding just inside the edge.
    p.save();
    p.setClipPath(head);
    p.setPen(QPen(QColor(0xF1, 0xE9, 0xD2, 110), 0.8));
    p.drawPath(head);
    p.restore();
    // Post bushings on the face.
    for (const QPointF& post : qAsConst(posts)) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawEllipse(post + QPointF(0.4, 0.8), 3.8, 3.8);
        metalDisc(p, post, 3.4);
    }
    for (const QPointF& post : qAsConst(posts))
        metalDisc(p, post, 2.6);
    return posts;
}

// The nut: a bone bar across the neck.
void drawNut(QPainter& p, const Geometry& g)
{
    const double x = g.nutX;
    const double top = g.topEdge(x) - 0.5;
    const double bottom = g.kind == Kind::Banjo ? g.strings.at(3).yAt(x) + g.edgeMargin + 0.5 : g.bottomEdge(x) + 0.5;
    QRectF nut(x - 2.4, top, 4.8, bottom - top);
    QLinearGradient grad(nut.topLeft(), nut.topRight());
    grad.setColorAt(0, palette::bone().darker(120));
    grad.setColorAt(0.4, QColor(0xFF, 0xFB, 0xEE));
    grad.setColorAt(1, palette::bone().darker(110));
    p.setPen(QPen(QColor(0x6A, 0x5A, 0x40), 0.35));
    p.setBrush(grad);
    p.drawRoundedRect(nut, 1, 1);
}

// Balalaika: the triangular soundboard, its edge binding and a quarter of the rosette.
void drawBalalaikaBody(QPainter& p, const Geometry& g, double start)
{
    const double neckTop = g.topEdge(start);
    const double neckBottom = g.bottomEdge(start);
    // A rounded triangle: the neck joins at its tip, its base lies beyond the right edge.
    QPainterPath body;
    body.moveTo(start, neckTop);
    body.cubicTo(start + 40, neckTop - 8, 900, -40, 985, -78);
    body.quadTo(1012, -88, 1014, -60);
    body.lineTo(1014, 254);
    body.quadTo(1012, 282, 985, 272);
    body.cubicTo(900, 234, start + 40, neckBottom + 8, start, neckBottom);
    body.closeSubpath();
    softShadow(p, body, QPointF(2, 3));
    woodGrain(p, body, QRectF(start - 2, -90, 1020 - start, 374), palette::maple(), palette::maple().lighter(118), 31,
              2.2, false);
    // Binding: alternating dark and light strips along the edge.
    p.save();
    p.setClipPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x3A, 0x22, 0x14), 3.2));
    p.drawPath(body);
    p.setPen(QPen(palette::bone(), 1.0));
    p.drawPath(body);
    p.restore();
    // The rosette of the sound hole, just past the right edge.
    const QPointF c(858, 97);
    for (int i = 0; i < 5; ++i) {
        const double r = 70 - i * 4.5;
        p.setPen(QPen(i % 2 ? palette::rosewood() : palette::warm().darker(110), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x0C, 0x08));
    p.drawEllipse(c, 48, 48);
}

// Banjo: the drum with its rim, tension hooks and head.
void drawBanjoDrum(QPainter& p, const QPointF& c, double r)
{
    QPainterPath rim;
    rim.addEllipse(c, r + 9, r + 9);
    softShadow(p, rim, QPointF(2, 4), 8, 0.08);
    // Resonator edge in wood.
    woodGrain(p, rim, rim.boundingRect(), palette::rosewoodLight(), palette::maple().darker(110), 41, 3.0, false);
    // Metal tension ring and hooks.
    QRadialGradient ring(c, r + 5);
    ring.setColorAt(0.90, palette::fretSilver().darker(140));
    ring.setColorAt(0.96, QColor(0xF2, 0xF3, 0xF4));
    ring.setColorAt(1.0, palette::fretSilver().darker(160));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(c, r + 5, r + 5);
    const int hooks = int(r / 5.5);
    for (int i = 0; i < hooks; ++i) {
        const double a = (i + 0.5) * 2 * M_PI / hooks;
        const QPointF out = c + QPointF(qCos(a), qSin(a)) * (r + 8.5);
        const QPointF in = c + QPointF(qCos(a), qSin(a)) * (r + 2);
        p.setPen(QPen(palette::fretSilver().darker(120), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(in, out);
        metalDisc(p, out, 1.8);
    }
    // The head: a frosted, slightly warm vellum.
    QRadialGradient head(c - QPointF(r * 0.25, r * 0.2), r * 1.1);
    head.setColorAt(0, QColor(0xFB, 0xF6, 0xEA));
    head.setColorAt(0.7, QColor(0xEC, 0xE2, 0xCC));
    head.setColorAt(1, QColor(0xC9, 0xBA, 0x9C));
    p.setBrush(head);
    p.setPen(QPen(QColor(0x80, 0x78, 0x68), 0.6));
    p.drawEllipse(c, r, r);
    QRandomGenerator rng(5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 500; ++i) {
        const double a = rng.bounded(2 * M_PI);
        const double d = r * qSqrt(rng.bounded(1.0));
        p.setBrush(QColor(120, 100, 70, 10 + rng.bounded(14)));
        p.drawEllipse(c + QPointF(qCos(a), qSin(a)) * d, 0.5, 0.5);
    }
}

// Mandolin: the body with its sunburst, binding and oval sound hole.
void drawMandolinBody(QPainter& p, const Geometry& g, double start, const QPointF& hole)
{
    const double neckTop = g.topEdge(start);
    const double neckBottom = g.bottomEdge(start);
    // A teardrop: the neck joins at its narrow end, the round end lies beyond the right edge.
    QPainterPath body;
    body.moveTo(start, neckTop);
    body.cubicTo(start + 60, neckTop - 10, 700, -75, 840, -80);
    body.cubicTo(960, -84, 1015, 10, 1015, 97);
    body.cubicTo(1015, 184, 960, 278, 840, 274);
    body.cubicTo(700, 269, start + 60, neckBottom + 10, start, neckBottom);
    body.closeSubpath();
    softShadow(p, body, QPointF(2, 3));
    p.save();
    p.setClipPath(body);
    QRadialGradient burst(hole, 220);
    burst.setColorAt(0, QColor(0xE8, 0xB0, 0x5A));
    burst.setColorAt(0.45, QColor(0xC2, 0x78, 0x2C));
    burst.setColorAt(0.8, QColor(0x6A, 0x30, 0x14));
    burst.setColorAt(1, QColor(0x2A, 0x12, 0x08));
    p.fillRect(QRectF(start - 2, -90, 1020 - start, 374), burst);
    p.restore();
    woodGrain(p, body, QRectF(start - 2, -90, 1020 - start, 374), QColor(0, 0, 0, 0), QColor(255, 230, 190, 40), 53,
              2.5, false);
    p.save();
    p.setClipPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::bone(), 2.4));
    p.drawPath(body);
    p.setPen(QPen(QColor(0x20, 0x10, 0x08), 0.8));
    p.drawPath(body);
    p.restore();
    // Sound hole with a rosette of rings.
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(i % 2 ? QColor(0x20, 0x12, 0x0A) : palette::bone(), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(hole, 33 + 6 - i * 1.8, 47 + 6 - i * 1.8);
    }
    QRadialGradient dark(hole, 45);
    dark.setColorAt(0, QColor(0x0A, 0x06, 0x04));
    dark.setColorAt(1, QColor(0x1E, 0x12, 0x0A));
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawEllipse(hole, 33, 47);
}

void drawFretboard(QPainter& p, const Geometry& g)
{
    const double from = g.nutX - 1;
    const double to = g.endX;
    const QPainterPath board = fingerboardPath(g, from, to);
    softShadow(p, board, QPointF(1.2, 4.5));
    // The neck under the fingerboard shows as a thin band of lighter wood along its lower side.
    const QPainterPath neck = QTransform::fromTranslate(0, 2.6).map(board);
    QLinearGradient side(QPointF(0, 90), QPointF(0, 150));
    side.setColorAt(0, palette::maple().darker(150));
    side.setColorAt(1, palette::maple().darker(190));
    p.setPen(Qt::NoPen);
    p.setBrush(side);
    p.drawPath(neck);
    woodGrain(p, board, QRectF(from, 40, to - from, 120), palette::rosewood(), palette::rosewoodLight(),
              3 + int(g.kind), 1.1);
    // Edge highlight, so the neck stands out of the background.
    p.setPen(QPen(QColor(255, 230, 200, 55), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(board);
    // Rounded end of the fingerboard.
    p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
    p.drawLine(QPointF(to, g.topEdge(to)), QPointF(to, g.bottomEdge(to)));

    // Inlays: pearl dots in the usual places, between the middle strings.
    QVector<int> single;
    int doubleFret = 12;
    switch (g.kind) {
    case Kind::Balalaika:
        single = {3, 5, 7, 10, 15, 17};
        break;
    case Kind::Banjo:
        single = {3, 5, 7, 10, 15, 17, 19, 22};
        break;
    case Kind::Mandolin:
        single = {3, 5, 7, 10, 15};
        break;
    }
    const int n = g.table->fretSpotCount;
    const int midString = g.kind == Kind::Banjo ? 1 : (g.kind == Kind::Balalaika ? 0 : 1);
    auto between = [&](int s, double x) { return (g.strings.at(s).yAt(x) + g.strings.at(s + 1).yAt(x)) / 2; };
    for (int f : qAsConst(single)) {
        if (f >= n)
            continue;
        const double x = (RIRurud::BoardTables::fretWireX(*g.table, f - 1) + RIRurud::BoardTables::fretWireX(*g.table, f)) / 2;
        pearlDot(p, QPointF(x, between(midString, x)), g.kind == Kind::Banjo ? 2.2 : 2.6);
    }
    if (doubleFret < n) {
        const double x = (RIRurud::BoardTables::fretWireX(*g.table, doubleFret - 1)
                          + RIRurud::BoardTables::fretWireX(*g.table, doubleFret)) / 2;
        const int lower = g.kind == Kind::Balalaika ? 1 : (g.kind == Kind::Banjo ? 2 : 2);
        const int upper = g.kind == Kind::Balalaika ? 0 : 0;
        const double r = g.kind == Kind::Banjo ? 2.2 : 2.6;
        pearlDot(p, QPointF(x, between(upper, x)), r);
        pearlDot(p, QPointF(x, between(lower, x)), r);
    }

    // Fret wires: a dark slot, the wire and its highlight.
    for (int k = 1; k < n; ++k) {
        const double x = RIRurud::BoardTables::fretWireX(*g.table, k);
        const double t = g.topEdge(x) + 0.3;
        const double b = g.bottomEdge(x) - 0.3;
        p.setPen(QPen(QColor(0, 0, 0, 110), 1.9));
        p.drawLine(QPointF(x + 0.7, t), QPointF(x + 0.7, b));
        QLinearGradient wire(QPointF(x - 0.8, 0), QPointF(x + 0.8, 0));
        wire.setColorAt(0, palette::fretSilver().darker(150));
        wire.setColorAt(0.45, QColor(0xF4, 0xF5, 0xF6));
        wire.setColorAt(1, palette::fretSilver().darker(130));
        p.setPen(QPen(QBrush(wire), 1.5));
        p.drawLine(QPointF(x, t), QPointF(x, b));
    }
}

// One string from `from` to `to` along its line, with a soft shadow on the wood below.
void drawString(QPainter& p, const StringLine& line, double from, double to, double width, const QColor& colour,
                double yOffset = 0)
{
    const QPointF a(from, line.yAt(from) + yOffset);
    const QPointF b(to, line.yAt(to) + yOffset);
    p.setPen(QPen(QColor(0, 0, 0, 90), width * 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a + QPointF(0.6, 1.4), b + QPointF(0.6, 1.4));
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.setPen(QPen(QColor(255, 255, 255, 120), width * 0.35, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a - QPointF(0, width * 0.2), b - QPointF(0, width * 0.2));
}

void drawStrings(QPainter& p, const Geometry& g, const QVector<QPointF>& posts)
{
    const QColor bronze = palette::string();
    const QColor steel = QColor(0xDD, 0xE0, 0xE3);
    switch (g.kind) {
    case Kind::Balalaika:
        // A (nylon-white steel) and two E strings.
        drawString(p, g.strings.at(0), posts.at(0).x(), kFrameW + 2, 0.9, steel);
        drawString(p, g.strings.at(1), posts.at(1).x(), kFrameW + 2, 1.2, bronze);
        drawString(p, g.strings.at(2), posts.at(2).x(), kFrameW + 2, 1.2, bronze);
        break;
    case Kind::Banjo:
        drawString(p, g.strings.at(0), posts.at(0).x(), kFrameW + 2, 0.85, steel);
        drawString(p, g.strings.at(1), posts.at(1).x(), kFrameW + 2, 0.95, steel);
        drawString(p, g.strings.at(2), posts.at(2).x(), kFrameW + 2, 1.05, steel);
        drawString(p, g.strings.at(3), posts.at(3).x(), kFrameW + 2, 1.35, bronze);
        break;
    case Kind::Mandolin:
        // Double courses: two strings a little apart around each course line.
        for (int s = 0; s < 4; ++s) {
            const double w = 0.65 + 0.17 * s;
            const QColor c = s >= 2 ? bronze : steel;
            drawString(p, g.strings.at(s), posts.at(s).x(), kFrameW + 2, w, c, -1.5);
            drawString(p, g.strings.at(s), posts.at(s).x(), kFrameW + 2, w, c, +1.5);
        }
        break;
    }
}

// The banjo's short string: its peg at the side of the neck at the fifth fret.
void drawBanjoFifthString(QPainter& p, const Geometry& g)
{
    const StringLine& line = g.strings.at(4);
    // The peg stands where the string's first spot lies.
    double pegX = kFrameW;
    for (std::size_t i = 0; i < g.table->spotCount; ++i) {
        if (g.table->spots[i].string == 4)
            pegX = qMin(pegX, double(g.table->spots[i].x));
    }
    const QPointF peg(pegX - 4, line.yAt(pegX - 4));
    const QPointF key(peg.x() - 2, g.bottomEdge(peg.x()) + 8);
    p.setPen(QPen(QColor(0x6E, 0x6A, 0x64), 1.6));
    p.drawLine(peg, key);
    QPainterPath button;
    button.addRoundedRect(QRectF(key.x() - 5, key.y() - 2, 10, 8), 3.5, 3.5);
    QLinearGradient bg(key, key + QPointF(0, 8));
    bg.setColorAt(0, palette::bone());
    bg.setColorAt(1, palette::bone().darker(135));
    p.setPen(QPen(QColor(0x4A, 0x40, 0x30), 0.5));
    p.setBrush(bg);
    p.drawPath(button);
    drawString(p, line, peg.x(), kFrameW + 2, 0.85, QColor(0xDD, 0xE0, 0xE3));
    metalDisc(p, peg, 2.3);
}

// ------------------------------------------------------------------------------------------------
// Whole pictures.

QImage boardPicture(const BoardTable& table)
{
    const Geometry g = geometryOf(table);
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kPictureWidth / kFrameW, kPictureHeight / kFrameH);
    background(p, QRectF(0, 0, kFrameW, kFrameH));

    switch (g.kind) {
    case Kind::Balalaika:
        drawBalalaikaBody(p, g, 640);
        break;
    case Kind::Banjo:
        drawBanjoDrum(p, QPointF(952, 96), 200);
        break;
    case Kind::Mandolin:
        drawMandolinBody(p, g, 575, QPointF(758, 96));
        break;
    }
    const QVector<QPointF> posts = drawHeadstock(p, g);
    drawFretboard(p, g);
    drawNut(p, g);
    if (g.kind == Kind::Banjo) {
        // Bridge feet would sit further right; the strings run on over the head.
        drawBanjoFifthString(p, g);
    }
    drawStrings(p, g, posts);
    return image;
}

// One note's overlay: a round mark on every marked spot of that note, nothing else.
QImage overlayPicture(const BoardTable& table, const QString& layer)
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kPictureWidth / kFrameW, kPictureHeight / kFrameH);
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        const HotSpot& spot = table.spots[i];
        QString note = QString::fromLatin1(spot.note);
        const QString form = note.endsWith('#') ? note.left(1) + "d" + note.mid(1, 1) : note;
        if (!spot.marked || form != layer)
            continue;
        const RIRurud::BoardTables::MarkCentre centre = RIRurud::BoardTables::markCentre(table, i);
        const QPointF c(centre.x, centre.y);
        // Shadow, light ring, then the mark with a soft highlight.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawEllipse(c + QPointF(0.4, 0.8), kMarkRadius + 1.3, kMarkRadius + 1.3);
        p.setBrush(palette::markRing());
        p.drawEllipse(c, kMarkRadius + 0.9, kMarkRadius + 0.9);
        QRadialGradient g(c - QPointF(1.4, 1.4), kMarkRadius * 1.5);
        g.setColorAt(0, palette::mark().lighter(140));
        g.setColorAt(0.55, palette::mark());
        g.setColorAt(1, palette::mark().darker(130));
        p.setBrush(g);
        p.drawEllipse(c, kMarkRadius, kMarkRadius);
    }
    return image;
}

// Side pictures: details of the instrument in the same design, portrait, the motif near the top
// left (the label covers its area and cuts off what overflows at the right and the bottom).
constexpr int kSideWidth = 520;
constexpr int kSideHeight = 900;

QImage sidePicture(const BoardTable& table, bool left)
{
    const Geometry g = geometryOf(table);
    QImage image(kSideWidth, kSideHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = kSideWidth / 200.0;   // frame units per picture: 200 wide, 346 high
    p.scale(unit, unit);
    const QRectF area(0, 0, 200, kSideHeight / unit);
    QLinearGradient paper(area.topLeft(), area.bottomRight());
    paper.setColorAt(0, palette::paper());
    paper.setColorAt(1, palette::panel());
    p.fillRect(area, paper);
    // A warm vignette that frames the detail.
    QRadialGradient glow(QPointF(100, 150), 190);
    glow.setColorAt(0, QColor(255, 250, 240, 0));
    glow.setColorAt(1, QColor(120, 90, 60, 60));
    p.fillRect(area, glow);

    // The instrument stands upright, neck up: the board's frame turned by 90 degrees, so that the
    // frame point `f` lands on the picture point `at`, `k` picture units per frame unit.
    auto place = [&p](const QPointF& f, const QPointF& at, double k) {
        p.translate(at);
        p.rotate(90);
        p.scale(k, k);
        p.translate(-f);
    };
    p.save();
    if (left) {
        // The headstock with its tuners, tip at the top, the nut and first frets below.
        const double mid = (g.strings.first().yAt(0) + g.strings.at(g.kind == Kind::Banjo ? 3 : table.stringCount - 1).yAt(0)) / 2;
        const double k = qBound(1.0, 170.0 / g.nutX, 1.5);
        place(QPointF(0, mid), QPointF(100, 22), k);
        const QVector<QPointF> posts = drawHeadstock(p, g);
        drawFretboard(p, g);
        drawNut(p, g);
        if (g.kind == Kind::Banjo)
            drawBanjoFifthString(p, g);
        drawStrings(p, g, posts);
    } else {
        // The body around its sound hole or drum, the neck coming in from the top.
        QPointF centre;
        double bridgeX = 0;
        switch (g.kind) {
        case Kind::Balalaika:
            centre = QPointF(858, 97);
            place(centre, QPointF(100, 170), 0.56);
            drawBalalaikaBody(p, g, 640);
            bridgeX = 945;
            break;
        case Kind::Banjo:
            centre = QPointF(905, 96);
            place(centre, QPointF(100, 170), 0.62);
            drawBanjoDrum(p, centre, 138);
            bridgeX = 960;
            break;
        case Kind::Mandolin:
            centre = QPointF(758, 96);
            place(centre, QPointF(100, 150), 0.56);
            drawMandolinBody(p, g, 575, centre);
            bridgeX = 880;
            break;
        }
        drawFretboard(p, g);
        const int strings = g.kind == Kind::Banjo ? 4 : table.stringCount;
        const double top = g.strings.first().yAt(bridgeX) - 7;
        const double bottom = g.strings.at(strings - 1).yAt(bridgeX) + 7;
        for (int s = 0; s < strings; ++s)
            drawString(p, g.strings.at(s), g.endX - 120, bridgeX + 60, 1.2, palette::string());
        if (g.kind == Kind::Banjo)
            drawString(p, g.strings.at(4), g.endX - 120, bridgeX + 60, 1.0, palette::string());
        const double bottomAll = g.kind == Kind::Banjo ? g.strings.at(4).yAt(bridgeX) + 7 : bottom;
        QRectF saddle(bridgeX - 4, top, 8, bottomAll - top);
        QLinearGradient wood(saddle.topLeft(), saddle.topRight());
        wood.setColorAt(0, palette::maple().darker(170));
        wood.setColorAt(0.5, palette::maple().darker(115));
        wood.setColorAt(1, palette::maple().darker(180));
        p.setPen(QPen(QColor(0x2A, 0x18, 0x0C), 0.6));
        p.setBrush(wood);
        p.drawRoundedRect(saddle, 2, 2);
    }
    p.restore();
    return image;
}

void drawBoard(ImageSink& sink, const BoardTable& table)
{
    const QString name = QString::fromLatin1(table.name);
    sink.save(name + "_0@2x.jpg", boardPicture(table), 93);
    for (std::size_t i = 0; i < table.layerCount; ++i) {
        const QString layer = QString::fromLatin1(table.layerNames[i]);
        sink.save(name + "_" + layer + "@2x.png", overlayPicture(table, layer));
    }
}

} // namespace

IMAGEGEN_PRODUCER(drawBalalaikaBoard) { drawBoard(sink, RIRurud::BoardTables::kBalalaika); }
IMAGEGEN_PRODUCER(drawBanjoBoard) { drawBoard(sink, RIRurud::BoardTables::kBanjo); }
IMAGEGEN_PRODUCER(drawMandolinBoard) { drawBoard(sink, RIRurud::BoardTables::kMandolin); }

IMAGEGEN_PRODUCER(drawFretSidePictures)
{
    using namespace RIRurud::FinderTables;
    const struct
    {
        const FinderSpec* spec;
        const BoardTable* table;
    } pages[] = {{&kBanjo, &RIRurud::BoardTables::kBanjo},
                 {&kBalalaika, &RIRurud::BoardTables::kBalalaika},
                 {&kMandolin, &RIRurud::BoardTables::kMandolin}};
    for (const auto& page : pages) {
        sink.save(QString::fromLatin1(page.spec->leftPicture).mid(2), sidePicture(*page.table, true), 92);
        sink.save(QString::fromLatin1(page.spec->rightPicture).mid(2), sidePicture(*page.table, false), 92);
    }
}
