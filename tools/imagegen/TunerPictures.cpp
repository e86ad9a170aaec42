// The tuners' pictures: the eleven instruments the tuner pages show (upright, head at the top, the
// strings in the order of the page's buttons, lowest at the left), the explorer's instrument
// buttons in their four states, the Harmolux button, and the backgrounds and the menu arrow of the
// tuner window's style sheet. Each instrument comes from its row of the tuner table; the drawing of
// each (its shape, wood and hardware) is kept here, by the instrument's name.
#include "ImageSink.h"
#include "Palette.h"
#include "Shapes.h"

#include "RIRurud/_Tuner/TunerTables.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtConcurrent/QtConcurrentMap>
#include <QtMath>

#include <cstdio>
#include <vector>

namespace {

using namespace imagegen;
namespace Tables = RIRurud::TunerTables;

// The page pictures, drawn at twice the size they are meant to be seen at.
constexpr int kPictureWidth = 1200;
constexpr int kPictureHeight = 1600;
// The explorer's buttons, 92 x 92 points.
constexpr int kButtonSide = 92;

// ---------------------------------------------------------------------------------------------
// Shapes. Instruments are drawn in units: the instrument stands from y = 0 (top of its head) to
// y = 1000 (its bottom end), centred on x = 0.

struct Pt
{
    qreal x;
    qreal y;
    bool sharp = false;   // a corner: the outline turns here without rounding
};

// A smooth curve through the points (Catmull-Rom), with corners at sharp points. When `onAxis`,
// the first and last points lie on the centre line and the curve meets it square, so that the
// curve and its mirror image join without a kink.
QPainterPath curveThrough(const std::vector<Pt>& pts, bool onAxis)
{
    QPainterPath path(QPointF(pts.front().x, pts.front().y));
    const int n = int(pts.size());
    const auto at = [&](int i) {
        if (i < 0)
            return onAxis ? QPointF(-pts[1].x, pts[1].y) : QPointF(pts[0].x, pts[0].y);
        if (i >= n)
            return onAxis ? QPointF(-pts[n - 2].x, pts[n - 2].y) : QPointF(pts[n - 1].x, pts[n - 1].y);
        return QPointF(pts[i].x, pts[i].y);
    };
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF p1 = at(i), p2 = at(i + 1);
        const QPointF c1 = pts[i].sharp ? p1 : p1 + (p2 - at(i - 1)) / 6.0;
        const QPointF c2 = pts[i + 1].sharp ? p2 : p2 - (at(i + 2) - p1) / 6.0;
        path.cubicTo(c1, c2, p2);
    }
    return path;
}

// A closed outline, symmetric about x = 0, from its right half (top of the axis to the bottom).
QPainterPath symmetric(const std::vector<Pt>& rightHalf)
{
    const QPainterPath right = curveThrough(rightHalf, true);
    QPainterPath path = right;
    path.connectPath(QTransform::fromScale(-1, 1).map(right).toReversed());
    path.closeSubpath();
    return path;
}

// A straight piece (neck, fingerboard) narrowing from `topHalf` at `top` to `bottomHalf` at `bottom`.
QPainterPath taper(qreal top, qreal topHalf, qreal bottom, qreal bottomHalf, qreal cx = 0)
{
    QPainterPath p;
    p.moveTo(cx - topHalf, top);
    p.lineTo(cx + topHalf, top);
    p.lineTo(cx + bottomHalf, bottom);
    p.lineTo(cx - bottomHalf, bottom);
    p.closeSubpath();
    return p;
}

// Where fret n lies on a string of `scale` units that starts at the nut.
qreal fretY(qreal nut, qreal scale, int n)
{
    return nut + scale * (1.0 - std::pow(2.0, -n / 12.0));
}

// ---------------------------------------------------------------------------------------------
// Materials

// Wood: lighter along the middle, darker at the sides, with fine grain lines along the instrument.
void fillWood(QPainter& p, const QPainterPath& shape, const QColor& base, quint32 seed, qreal grain = 5.0,
              int grainAlpha = 60)
{
    const QRectF r = shape.boundingRect();
    p.save();
    p.setClipPath(shape, Qt::IntersectClip);
    QLinearGradient across(r.left(), 0, r.right(), 0);
    across.setColorAt(0, base.darker(150));
    across.setColorAt(0.3, base.lighter(112));
    across.setColorAt(0.55, base);
    across.setColorAt(1, base.darker(155));
    p.fillPath(shape, across);
    QRandomGenerator rng(seed);
    p.setBrush(Qt::NoBrush);
    for (qreal x = r.left(); x < r.right(); x += grain * (0.45 + rng.generateDouble())) {
        const qreal sway = (rng.generateDouble() - 0.5) * grain * 3;
        QPainterPath line(QPointF(x, r.top()));
        line.cubicTo(x + sway, r.top() + r.height() * 0.33, x - sway, r.top() + r.height() * 0.66, x + sway * 0.5,
                     r.bottom());
        const bool dark = rng.bounded(3) != 0;
        const QColor c = dark ? base.darker(125 + rng.bounded(40)) : base.lighter(110 + rng.bounded(15));
        p.setPen(QPen(withAlpha(c, grainAlpha / 2 + rng.bounded(grainAlpha)), grain * (0.12 + 0.2 * rng.generateDouble())));
        p.drawPath(line);
    }
    p.restore();
}

// Light and depth on a filled shape: the edge darkens towards the outline and a soft light falls
// from the upper left.
void shade(QPainter& p, const QPainterPath& shape, qreal rim, int edgeAlpha = 110, int lightAlpha = 60)
{
    const QRectF r = shape.boundingRect();
    p.save();
    p.setClipPath(shape, Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    for (int i = 4; i >= 1; --i)
        p.strokePath(shape, QPen(QColor(0, 0, 0, edgeAlpha / 5), rim * i / 2.0));
    QRadialGradient light(r.left() + r.width() * 0.32, r.top() + r.height() * 0.28, qMax(r.width(), r.height()) * 0.7);
    light.setColorAt(0, QColor(255, 248, 235, lightAlpha));
    light.setColorAt(1, QColor(255, 248, 235, 0));
    p.fillPath(shape, light);
    p.restore();
}

// A line along the outline a little inside it (purfling, binding).
void inlay(QPainter& p, const QPainterPath& shape, qreal inset, const QColor& color, qreal width)
{
    p.save();
    p.setClipPath(shape, Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    QPainterPathStroker stroker;
    stroker.setWidth(inset * 2);
    const QPainterPath inner = shape.subtracted(stroker.createStroke(shape));
    p.strokePath(inner, QPen(color, width));
    p.restore();
}

void fill(QPainter& p, const QPainterPath& shape, const QBrush& brush, const QPen& pen = Qt::NoPen)
{
    p.setPen(pen);
    p.setBrush(brush);
    p.drawPath(shape);
}

QLinearGradient metal(qreal x0, qreal x1, const QColor& base = QColor(0xC9, 0xCC, 0xCF))
{
    QLinearGradient g(x0, 0, x1, 0);
    g.setColorAt(0, base.darker(170));
    g.setColorAt(0.35, base.lighter(125));
    g.setColorAt(0.6, base);
    g.setColorAt(1, base.darker(190));
    return g;
}

QRadialGradient dome(const QPointF& c, qreal r, const QColor& base)
{
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.4), r * 1.3);
    g.setColorAt(0, base.lighter(160));
    g.setColorAt(0.5, base);
    g.setColorAt(1, base.darker(200));
    return g;
}

// A string from a to b: a bright core with a dark edge, wound strings in bronze.
void string(QPainter& p, const QPointF& a, const QPointF& b, qreal width, const QColor& color)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 120), width * 1.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a + QPointF(width * 0.6, 0), b + QPointF(width * 0.6, 0));
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.setPen(QPen(color.lighter(150), width * 0.35, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a - QPointF(width * 0.2, 0), b - QPointF(width * 0.2, 0));
}

const QColor kSteel(0xD8, 0xDA, 0xDC);
const QColor kBronze(0xC9, 0x9A, 0x5B);
const QColor kNylon(0xEE, 0xE6, 0xD2);
const QColor kGut(0xC8, 0xB2, 0x8C);
const QColor kEbony(0x1B, 0x18, 0x16);
const QColor kRosewood = palette::rosewood();
const QColor kBone = palette::bone();
const QColor kNickel = palette::fretSilver();

void frets(QPainter& p, const QPainterPath& board, qreal nut, qreal scale, int count, qreal width)
{
    const QRectF r = board.boundingRect();
    p.save();
    p.setClipPath(board, Qt::IntersectClip);
    for (int n = 1; n <= count; ++n) {
        const qreal y = fretY(nut, scale, n);
        if (y > r.bottom())
            break;
        p.fillRect(QRectF(r.left(), y - width * 0.5, r.width(), width), metal(r.left(), r.right(), kNickel));
        p.fillRect(QRectF(r.left(), y + width * 0.5, r.width(), width * 0.5), QColor(0, 0, 0, 90));
    }
    p.restore();
}

// Dot inlays between frets (single dots, a pair at the octave).
void dots(QPainter& p, qreal nut, qreal scale, const std::vector<int>& at, qreal radius, qreal pairOffset)
{
    p.setPen(Qt::NoPen);
    for (int n : at) {
        const qreal y = (fretY(nut, scale, n - 1) + fretY(nut, scale, n)) / 2;
        const QPointF c(0, y);
        if (n % 12 == 0) {
            for (qreal dx : {-pairOffset, pairOffset}) {
                p.setBrush(dome(c + QPointF(dx, 0), radius, kBone));
                p.drawEllipse(c + QPointF(dx, 0), radius, radius);
            }
        } else {
            p.setBrush(dome(c, radius, kBone));
            p.drawEllipse(c, radius, radius);
        }
    }
}

// A fretted fingerboard from the nut down to `end`, widening from `half` to `endHalf`, with its
// frets, dot inlays (none when `dotsAt` is empty) and the bone nut.
struct Fretboard
{
    qreal nut;
    qreal scale;
    qreal half;
    qreal end;
    qreal endHalf;
    int fretCount;
    qreal fretWidth;
    std::vector<int> dotsAt;
    qreal dotRadius;
    QColor wood;
    qreal grain;
};

void drawFretboard(QPainter& p, const Fretboard& f, quint32 seed)
{
    const QPainterPath board = taper(f.nut, f.half, f.end, f.endHalf);
    fillWood(p, board, f.wood, seed, f.grain, 40);
    frets(p, board, f.nut, f.scale, f.fretCount, f.fretWidth);
    if (!f.dotsAt.empty())
        dots(p, f.nut, f.scale, f.dotsAt, f.dotRadius, f.half * 0.47);
    shade(p, board, f.half * 0.16, 110, 30);
    const qreal nutHeight = f.fretWidth * 2;
    fill(p, roundedRectPath(QRectF(-f.half * 1.04, f.nut - nutHeight, 2 * f.half * 1.04, nutHeight * 1.2), 2), kBone);
}

// A string along the points in turn: from its post over the nut and the bridge to where it ends.
void stringAlong(QPainter& p, std::initializer_list<QPointF> points, qreal width, const QColor& color)
{
    for (auto a = points.begin(), b = a + 1; b != points.end(); ++a, ++b)
        string(p, *a, *b, width, color);
}

// Evenly spread x positions of `count` strings between -half and +half.
std::vector<qreal> spread(int count, qreal half)
{
    std::vector<qreal> xs;
    for (int i = 0; i < count; ++i)
        xs.push_back(count == 1 ? 0 : -half + 2 * half * i / (count - 1));
    return xs;
}

// A tuning machine seen from the front: a gear plate at the side of the head, a post through the
// head and a button beside it. side: -1 left, +1 right.
void machine(QPainter& p, const QPointF& post, int side, qreal size, const QColor& button)
{
    const QPointF shaftEnd = post + QPointF(side * size * 2.4, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(metal(post.x() - size, post.x() + size));
    p.drawRect(QRectF(QPointF(qMin(post.x(), shaftEnd.x()), post.y() - size * 0.22), QSizeF(size * 2.4, size * 0.44)));
    const QRectF knob(shaftEnd.x() - (side < 0 ? size * 1.3 : 0), post.y() - size * 0.7, size * 1.3, size * 1.4);
    p.setBrush(dome(knob.center(), size * 0.8, button));
    p.drawRoundedRect(knob, size * 0.45, size * 0.45);
    p.setBrush(dome(post, size * 0.5, kNickel));
    p.drawEllipse(post, size * 0.42, size * 0.42);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawEllipse(post, size * 0.14, size * 0.14);
}

// ---------------------------------------------------------------------------------------------
// The violin family. One drawing, four proportions.

struct Bowed
{
    qreal bodyTop;        // where the body begins (the neck meets it)
    qreal bodyBottom;
    qreal upper;          // half width of the upper bout
    qreal waist;          // half width at the waist
    qreal lower;          // half width of the lower bout
    qreal nut;            // top of the fingerboard
    qreal boardEnd;
    qreal bridge;
    qreal neckHalf;       // half width of the neck at the nut
    qreal scrollRadius;
    bool slopedShoulders; // the double bass's upper bout runs into the neck
    bool machines;        // metal tuning machines instead of pegs
    qreal endpin;         // length of the spike below the body (0: a button only)
    QColor varnish;
    QColor topVarnish;
};

QPainterPath bowedBody(const Bowed& b)
{
    const qreal L = b.bodyBottom - b.bodyTop;
    const auto y = [&](qreal f) { return b.bodyTop + f * L; };
    if (b.slopedShoulders) {
        return symmetric({{0, y(0)}, {b.upper * 0.32, y(0.0)}, {b.upper * 0.62, y(0.07)}, {b.upper * 0.9, y(0.2)},
                {b.upper, y(0.28)}, {b.upper * 0.95, y(0.33), true}, {b.waist * 1.08, y(0.38)}, {b.waist, y(0.46)},
                {b.waist * 1.08, y(0.54)}, {b.lower * 0.9, y(0.58), true}, {b.lower * 0.98, y(0.65)}, {b.lower, y(0.76)},
                {b.lower * 0.9, y(0.89)}, {b.lower * 0.55, y(0.975)}, {0, y(1.0)}});
    }
    return symmetric({{0, y(0)}, {b.upper * 0.38, y(0.01)}, {b.upper * 0.72, y(0.045)}, {b.upper * 0.93, y(0.1)}, {b.upper, y(0.175)},
                {b.upper * 0.96, y(0.25)}, {b.upper * 0.9, y(0.305), true}, {b.waist * 1.14, y(0.33)},
                {b.waist, y(0.44)}, {b.waist * 1.1, y(0.545)}, {b.lower * 0.88, y(0.585), true},
                {b.lower * 0.97, y(0.65)}, {b.lower, y(0.75)}, {b.lower * 0.9, y(0.88)}, {b.lower * 0.55, y(0.975)},
                {0, y(1.0)}});
}

// An f-hole: a slim S, its upper eye towards the middle of the top and its lower eye outwards,
// with the notches at its middle (where the bridge stands). side: -1 left, +1 right.
QPainterPath fHole(const QPointF& c, qreal height, int side)
{
    const qreal h = height / 2;
    const qreal s = side;
    const QPointF top = c + QPointF(-s * h * 0.2, -h * 0.84);
    const QPointF bottom = c + QPointF(s * h * 0.24, h * 0.84);
    QPainterPath stroke(top);
    stroke.cubicTo(c + QPointF(-s * h * 0.02, -h * 0.62), c + QPointF(-s * h * 0.08, -h * 0.2), c);
    stroke.cubicTo(c + QPointF(s * h * 0.08, h * 0.2), c + QPointF(s * h * 0.02, h * 0.62), bottom);
    QPainterPathStroker stroker;
    stroker.setWidth(height * 0.05);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath hole = stroker.createStroke(stroke);
    hole = hole.united(ellipsePath(top.x() - s * h * 0.03, top.y(), height * 0.055, height * 0.055));
    hole = hole.united(ellipsePath(bottom.x() + s * h * 0.03, bottom.y(), height * 0.07, height * 0.07));
    QPainterPath notch;
    notch.addRect(QRectF(c.x() - height * 0.06, c.y() - height * 0.007, height * 0.12, height * 0.014));
    return hole.united(notch).simplified();
}

// The scroll seen from the front: the rounded back of the spiral with its fluting down the middle,
// and the two volutes standing out at its sides.
void scroll(QPainter& p, qreal top, qreal r, const QColor& wood, quint32 seed)
{
    for (int side : {-1, 1}) {
        const QPointF e(side * r * 0.62, top + r * 1.1);
        const QPainterPath ear = ellipsePath(e.x(), e.y(), r * 0.4, r * 0.46);
        fillWood(p, ear, wood.darker(110), seed + 7, r * 0.1);
        shade(p, ear, r * 0.08, 160, 60);
        QPainterPath spiral;
        for (int i = 0; i <= 80; ++i) {
            const qreal t = i / 80.0;
            const qreal a = -M_PI / 2 + side * t * 3.2 * M_PI;
            const qreal rr = r * 0.36 * (1 - t * 0.8);
            const QPointF q = e + QPointF(rr * std::cos(a) * 0.9, rr * std::sin(a));
            if (i == 0)
                spiral.moveTo(q);
            else
                spiral.lineTo(q);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 0, 140), r * 0.05, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(spiral);
    }
    const QPainterPath head = ellipsePath(0, top + r, r * 0.58, r).united(taper(top + r, r * 0.5, top + r * 2.2, r * 0.44));
    fillWood(p, head, wood, seed, r * 0.1);
    shade(p, head, r * 0.12, 150, 80);
    // The fluting: two grooves either side of a light spine.
    p.save();
    p.setClipPath(head);
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        QPainterPath groove(QPointF(side * r * 0.2, top + r * 2.2));
        groove.cubicTo(QPointF(side * r * 0.3, top + r * 0.9), QPointF(side * r * 0.2, top + r * 0.2), QPointF(0, top + r * 0.18));
        p.setPen(QPen(QColor(0, 0, 0, 110), r * 0.09, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(groove);
    }
    p.setPen(QPen(withAlpha(wood.lighter(160), 130), r * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, top + r * 0.3), QPointF(0, top + r * 2.2));
    p.restore();
}

void drawBowed(QPainter& p, const Bowed& b, quint32 seed)
{
    const qreal W = b.lower;
    const QPainterPath body = bowedBody(b);

    // Endpin or end button.
    if (b.endpin > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(metal(-W * 0.02, W * 0.02));
        p.drawRect(QRectF(-W * 0.018, b.bodyBottom, W * 0.036, b.endpin));
        p.setBrush(dome(QPointF(0, b.bodyBottom + W * 0.03), W * 0.06, kEbony));
        p.drawEllipse(QPointF(0, b.bodyBottom + W * 0.03), W * 0.06, W * 0.05);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(dome(QPointF(0, b.bodyBottom), W * 0.05, kEbony));
        p.drawEllipse(QPointF(0, b.bodyBottom + W * 0.01), W * 0.045, W * 0.04);
    }

    // Pegbox and scroll above the nut, the neck from the nut to the body.
    const qreal r = b.scrollRadius;
    const qreal pegboxTop = r * 1.9;
    const QPainterPath pegbox = taper(pegboxTop, b.neckHalf * 0.95, b.nut, b.neckHalf * 1.05);
    const QPainterPath neck = taper(b.nut, b.neckHalf, b.bodyTop + (b.bodyBottom - b.bodyTop) * 0.05,
                                    b.neckHalf * 1.45);
    fillWood(p, neck.united(pegbox), b.varnish.lighter(115), seed + 1, r * 0.1);
    shade(p, neck.united(pegbox), b.neckHalf * 0.25, 130, 40);
    // The pegbox's open throat.
    const QPainterPath throat = taper(pegboxTop + r * 0.3, b.neckHalf * 0.55, b.nut - r * 0.15, b.neckHalf * 0.6);
    fill(p, throat, QColor(0x14, 0x0C, 0x08));

    // Pegs or machines, two a side: the lowest and the highest string on the pegs nearest the
    // scroll, the middle two nearest the nut. Each string ends in the throat beside its peg.
    const int strings = 4;
    const qreal at[strings] = {0.22, 0.68, 0.56, 0.1};
    std::vector<QPointF> posts;
    for (int i = 0; i < strings; ++i) {
        const int side = i < 2 ? -1 : 1;
        const qreal y = pegboxTop + (b.nut - pegboxTop) * at[i];
        posts.push_back(QPointF(side * b.neckHalf * 0.3, y));
        if (b.machines) {
            const qreal size = b.neckHalf * 0.62;
            const QRectF plate(side < 0 ? -b.neckHalf * 1.45 : b.neckHalf * 0.85, y - size * 0.95, b.neckHalf * 0.6, size * 1.9);
            fill(p, roundedRectPath(plate, size * 0.3), metal(plate.left(), plate.right(), QColor(0xC8, 0xA8, 0x5E)));
            machine(p, QPointF(side * b.neckHalf * 1.15, y), side, size, QColor(0x2A, 0x1E, 0x16));
        } else {
            // A peg: its shaft across the box and a thumb piece standing out at the side.
            const qreal len = b.neckHalf * 1.7;
            const QPointF head(side * (b.neckHalf + len * 0.5), y);
            fill(p, roundedRectPath(QRectF(-b.neckHalf * 1.15, y - b.neckHalf * 0.13, b.neckHalf * 2.3, b.neckHalf * 0.26), 3),
                 kEbony.lighter(150));
            fill(p, ellipsePath(head.x() + b.neckHalf * 0.06, head.y() + b.neckHalf * 0.1, len * 0.5, b.neckHalf * 0.5),
                 QColor(0, 0, 0, 90));
            fill(p, ellipsePath(head.x(), head.y(), len * 0.5, b.neckHalf * 0.46), dome(head, len * 0.5, kEbony.lighter(140)));
            fill(p, ellipsePath(head.x() + side * len * 0.5, head.y(), len * 0.06, b.neckHalf * 0.18), dome(head, len * 0.1, kBone));
        }
    }
    scroll(p, 0, r, b.varnish, seed + 2);

    // Body: the varnished top, its purfling, edge shadow and light.
    fillWood(p, body, b.topVarnish, seed + 3, W * 0.022, 45);
    QRadialGradient flame(QPointF(-W * 0.2, (b.bodyTop + b.bodyBottom) / 2 - W * 0.3), W * 1.2);
    flame.setColorAt(0, QColor(255, 200, 110, 70));
    flame.setColorAt(1, QColor(255, 200, 110, 0));
    p.fillPath(body, flame);
    shade(p, body, W * 0.05, 190, 70);
    inlay(p, body, W * 0.035, QColor(0x1A, 0x10, 0x0A, 200), W * 0.012);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(b.topVarnish.darker(230), W * 0.01));
    p.drawPath(body);

    // f-holes beside the bridge.
    const qreal L = b.bodyBottom - b.bodyTop;
    for (int side : {-1, 1}) {
        const QPainterPath f = fHole(QPointF(side * b.waist * 0.56, b.bridge), L * 0.22, side);
        fill(p, f.translated(W * 0.006, W * 0.008), QColor(255, 230, 190, 60));
        fill(p, f, QColor(0x0C, 0x06, 0x03));
    }

    // Tailpiece and its fine tuners.
    const qreal tailTop = b.bridge + L * 0.1;
    const qreal tailBottom = b.bodyBottom - L * 0.03;
    const QPainterPath tail = symmetric({{0, tailTop}, {W * 0.2, tailTop + L * 0.005, true}, {W * 0.2, tailTop + L * 0.04},
                                         {W * 0.11, tailBottom - L * 0.01}, {W * 0.06, tailBottom}, {0, tailBottom}});
    fill(p, tail.translated(W * 0.02, W * 0.03), QColor(0, 0, 0, 90));
    fillWood(p, tail, kEbony.lighter(130), seed + 4, W * 0.02, 30);
    shade(p, tail, W * 0.03, 160, 60);

    // Fingerboard over the neck and the upper body.
    const QPainterPath board = taper(b.nut, b.neckHalf * 0.92, b.boardEnd, b.neckHalf * 1.75);
    fill(p, board.translated(W * 0.02, W * 0.03), QColor(0, 0, 0, 100));
    fillWood(p, board, kEbony.lighter(125), seed + 5, W * 0.012, 40);
    shade(p, board, b.neckHalf * 0.15, 120, 50);
    fill(p, QPainterPath(roundedRectPath(QRectF(-b.neckHalf, b.nut - W * 0.018, 2 * b.neckHalf, W * 0.02), 2)), kEbony.lighter(170));

    // Bridge.
    const qreal bh = W * 0.045;
    const QPainterPath bridge = roundedRectPath(QRectF(-b.waist * 0.5, b.bridge - bh / 2, b.waist, bh), bh * 0.3);
    fill(p, bridge.translated(W * 0.015, W * 0.025), QColor(0, 0, 0, 100));
    fillWood(p, bridge, QColor(0xE0, 0xC3, 0x8E), seed + 6, W * 0.01, 40);
    shade(p, bridge, bh * 0.2, 120, 40);

    // Strings from the pegbox over the nut and the bridge to the tailpiece.
    const std::vector<qreal> atNut = spread(strings, b.neckHalf * 0.68);
    const std::vector<qreal> atBridge = spread(strings, b.waist * 0.36);
    const std::vector<qreal> atTail = spread(strings, W * 0.11);
    for (int i = 0; i < strings; ++i) {
        const qreal w = W * (0.016 - 0.0025 * i) * (b.machines ? 1.25 : 1.0);
        const QColor c = i == strings - 1 && !b.machines ? kSteel : QColor(0xB9, 0xB4, 0xAA);
        stringAlong(p, {posts[i], QPointF(atNut[i], b.nut), QPointF(atBridge[i], b.bridge), QPointF(atTail[i], tailTop + L * 0.03)},
                    w, c);
    }
    // Fine tuners on the tailpiece.
    for (int i = 0; i < strings; ++i) {
        const QPointF c(atTail[i], tailTop + L * 0.035);
        fill(p, ellipsePath(c.x(), c.y(), W * 0.02, W * 0.02), dome(c, W * 0.02, kNickel));
    }
}

const Bowed kViolin = {415, 985, 118, 78, 150, 185, 640, 735, 17, 30, false, false, 0,
                       QColor(0x9A, 0x45, 0x1C), QColor(0xB2, 0x52, 0x1E)};
const Bowed kViola = {400, 985, 128, 84, 162, 178, 630, 725, 19, 32, false, false, 0,
                      QColor(0x7E, 0x35, 0x18), QColor(0x93, 0x3E, 0x1A)};
const Bowed kCello = {360, 900, 124, 82, 160, 160, 590, 690, 16, 28, false, false, 100,
                      QColor(0x8A, 0x3E, 0x1A), QColor(0xA8, 0x4E, 0x20)};
const Bowed kDoubleBass = {320, 920, 126, 90, 172, 150, 600, 720, 16, 28, true, true, 80,
                           QColor(0x6E, 0x3A, 0x1C), QColor(0x8C, 0x4A, 0x22)};

// ---------------------------------------------------------------------------------------------
// Guitars and ukulele: a waisted body with a round sound hole.

struct Flattop
{
    qreal headTop;
    qreal nut;
    qreal bodyTop;
    qreal bodyBottom;
    qreal upper, waist, lower;   // half widths
    qreal neckHalf;              // at the nut
    qreal scale;                 // nut to saddle
    int fretCount;
    int strings;
    qreal holeRadius;
    QColor top;
    QColor wood;                 // neck, head and the back seen at the edge
    bool slotted;                // a classical guitar's slotted head
};

QPainterPath flattopBody(const Flattop& g)
{
    const qreal L = g.bodyBottom - g.bodyTop;
    const auto y = [&](qreal f) { return g.bodyTop + f * L; };
    return symmetric({{0, y(0)}, {g.upper * 0.6, y(0.005)}, {g.upper * 0.93, y(0.08)}, {g.upper, y(0.2)},
                      {g.waist * 1.04, y(0.38)}, {g.waist, y(0.44)}, {g.lower * 0.93, y(0.58)}, {g.lower, y(0.73)},
                      {g.lower * 0.9, y(0.9)}, {g.lower * 0.5, y(0.99)}, {0, y(1.0)}});
}

void drawFlattop(QPainter& p, const Flattop& g, quint32 seed)
{
    const qreal W = g.lower;
    const QPainterPath body = flattopBody(g);
    // The binding shows the sides as a thin dark rim.
    fill(p, body, g.wood.darker(140));
    fillWood(p, body, g.top, seed, W * 0.025, 55);
    shade(p, body, W * 0.05, 170, 70);
    inlay(p, body, W * 0.018, QColor(0xF4, 0xEE, 0xDD, 220), W * 0.008);
    inlay(p, body, W * 0.03, QColor(0x30, 0x1E, 0x12, 200), W * 0.006);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(g.wood.darker(160), W * 0.012));
    p.drawPath(body);

    // Sound hole with its rosette.
    const qreal L = g.bodyBottom - g.bodyTop;
    const QPointF hole(0, g.bodyTop + L * 0.36);
    const qreal R = g.holeRadius;
    QRadialGradient rosette(hole, R * 1.45);
    rosette.setColorAt(0.68, QColor(0x2A, 0x1A, 0x10));
    rosette.setColorAt(0.72, QColor(0xE9, 0xDC, 0xC0));
    rosette.setColorAt(0.78, QColor(0x7A, 0x4A, 0x22));
    rosette.setColorAt(0.84, QColor(0x2F, 0x6B, 0x4A));
    rosette.setColorAt(0.9, QColor(0x7A, 0x4A, 0x22));
    rosette.setColorAt(0.95, QColor(0xE9, 0xDC, 0xC0));
    rosette.setColorAt(1.0, withAlpha(g.top, 0));
    fill(p, ellipsePath(hole.x(), hole.y(), R * 1.45, R * 1.45), rosette);
    QRadialGradient depth(hole, R);
    depth.setColorAt(0, QColor(0x05, 0x03, 0x02));
    depth.setColorAt(0.85, QColor(0x14, 0x0B, 0x06));
    depth.setColorAt(1, QColor(0x2A, 0x18, 0x0C));
    fill(p, ellipsePath(hole.x(), hole.y(), R, R), depth);

    // Bridge with its saddle.
    const qreal saddle = g.nut + g.scale;
    const QRectF bridgeRect(-W * 0.42, saddle - W * 0.06, W * 0.84, W * 0.16);
    const QPainterPath bridge = symmetric({{0, bridgeRect.top()}, {W * 0.3, bridgeRect.top()},
                                           {W * 0.42, bridgeRect.center().y() - W * 0.01},
                                           {W * 0.3, bridgeRect.bottom()}, {0, bridgeRect.bottom()}});
    fill(p, bridge.translated(W * 0.015, W * 0.025), QColor(0, 0, 0, 90));
    fillWood(p, bridge, kRosewood, seed + 1, W * 0.02, 40);
    shade(p, bridge, W * 0.02, 130, 40);
    fill(p, roundedRectPath(QRectF(-W * 0.24, saddle - W * 0.012, W * 0.48, W * 0.022), W * 0.01), kBone);

    // Neck, head and fingerboard.
    const qreal headHalf = g.neckHalf * 1.45;
    const QPainterPath head = symmetric({{0, g.headTop}, {headHalf * 0.7, g.headTop, true}, {headHalf, g.headTop + W * 0.05},
                                         {headHalf * 0.95, g.nut - W * 0.1}, {g.neckHalf * 1.02, g.nut, true}, {0, g.nut}});
    const QPainterPath neck = taper(g.nut, g.neckHalf, g.bodyTop + L * 0.06, g.neckHalf * 1.3);
    fill(p, head.united(neck).translated(W * 0.02, W * 0.03), QColor(0, 0, 0, 90));
    fillWood(p, neck, g.wood, seed + 2, W * 0.02, 40);
    fillWood(p, head, g.wood.darker(115), seed + 3, W * 0.02, 40);
    shade(p, head, W * 0.03, 150, 50);
    const int perSide = g.strings / 2;
    std::vector<QPointF> posts;
    const qreal headLen = g.nut - g.headTop;
    if (g.slotted) {
        for (int side : {-1, 1}) {
            const QRectF slot(side < 0 ? -headHalf * 0.62 : headHalf * 0.2, g.headTop + headLen * 0.16,
                              headHalf * 0.42, headLen * 0.66);
            fill(p, roundedRectPath(slot, slot.width() * 0.5), QColor(0x0C, 0x07, 0x04));
        }
    }
    for (int i = 0; i < g.strings; ++i) {
        // The outer strings wind on the posts next to the nut, the inner ones further up.
        const int side = i < perSide ? -1 : 1;
        const int outer = i < perSide ? i : g.strings - 1 - i;   // 0: the outermost string
        const qreal y = g.headTop + headLen * (0.78 - 0.56 * (perSide == 1 ? 0.5 : qreal(outer) / (perSide - 1)));
        const qreal px = side * headHalf * (g.slotted ? 0.41 : 0.62);
        posts.push_back(QPointF(px, y));
        machine(p, QPointF(side * headHalf * 0.98, y), side, W * 0.05, g.slotted ? kBone : kNickel);
        if (g.slotted)
            fill(p, roundedRectPath(QRectF(px - headHalf * 0.22, y - W * 0.02, headHalf * 0.44, W * 0.04), W * 0.02), kBone.darker(110));
    }
    drawFretboard(p, {g.nut, g.scale, g.neckHalf * 0.96, fretY(g.nut, g.scale, g.fretCount + 1) - 2, g.neckHalf * 1.42,
                      g.fretCount, W * 0.012, g.slotted ? std::vector<int>() : std::vector<int>{3, 5, 7, 9, 12, 15, 17},
                      W * 0.022, kRosewood, W * 0.018},
                  seed + 4);

    // Strings: wound bass strings, plain trebles.
    const std::vector<qreal> atNut = spread(g.strings, g.neckHalf * 0.8);
    const std::vector<qreal> atSaddle = spread(g.strings, W * 0.2);
    for (int i = 0; i < g.strings; ++i) {
        const bool wound = g.strings >= 6 ? i < 3 : false;
        const qreal w = W * (wound ? 0.014 - 0.0018 * i : 0.009 - 0.0006 * (i - g.strings / 2));
        const QColor c = g.slotted ? (wound ? QColor(0xD8, 0xCF, 0xC0) : kNylon) : (wound ? kBronze : kSteel);
        stringAlong(p, {posts[i], QPointF(atNut[i], g.nut), QPointF(atSaddle[i], saddle + W * 0.04)}, w, c);
    }
}

const Flattop kGuitar = {0, 150, 470, 1000, 132, 108, 178, 24, 620, 19, 6, 42,
                         QColor(0xE6, 0xC2, 0x8A), QColor(0x7A, 0x40, 0x22), true};
const Flattop kUkulele = {30, 175, 540, 985, 110, 92, 150, 24, 650, 15, 4, 40,
                          QColor(0xB8, 0x70, 0x38), QColor(0x8C, 0x4E, 0x26), false};

// ---------------------------------------------------------------------------------------------
// Bass guitar: a solid body in sunburst with a pickguard, a split pickup and four machines in line.

void drawBassGuitar(QPainter& p, quint32 seed)
{
    const qreal nut = 190, scale = 640, bodyTop = 505, bodyBottom = 995;
    const qreal W = 170;
    const qreal neckHalf = 19;
    // An offset double-cutaway body: the horn on the bass side reaches further up.
    const auto Y = [&](qreal f) { return bodyTop + f * (bodyBottom - bodyTop); };
    const qreal nh = neckHalf * 1.3;
    QPainterPath body = curveThrough({{nh, Y(0.14)}, {W * 0.32, Y(0.1)}, {W * 0.5, Y(0.02)}, {W * 0.66, Y(-0.005)},
                                      {W * 0.8, Y(0.05)}, {W * 0.82, Y(0.16)}, {W * 0.74, Y(0.3)}, {W * 0.86, Y(0.48)},
                                      {W, Y(0.68)}, {W * 0.9, Y(0.88)}, {W * 0.55, Y(0.99)}, {0, Y(1.0)},
                                      {-W * 0.55, Y(0.99)}, {-W * 0.9, Y(0.88)}, {-W, Y(0.68)}, {-W * 0.88, Y(0.46)},
                                      {-W * 0.78, Y(0.3)}, {-W * 0.86, Y(0.1)}, {-W * 0.84, Y(-0.04)}, {-W * 0.7, Y(-0.11)},
                                      {-W * 0.52, Y(-0.07)}, {-W * 0.36, Y(0.04)}, {-nh, Y(0.12)}},
                                     false);
    body.closeSubpath();
    const QPointF centre(0, Y(0.62));
    QRadialGradient burst(centre, W * 1.15);
    burst.setColorAt(0, QColor(0xF0, 0xB8, 0x48));
    burst.setColorAt(0.45, QColor(0xD9, 0x8A, 0x26));
    burst.setColorAt(0.7, QColor(0x8A, 0x2E, 0x10));
    burst.setColorAt(0.88, QColor(0x2A, 0x0C, 0x05));
    burst.setColorAt(1, QColor(0x12, 0x06, 0x03));
    fill(p, body.translated(8, 12), QColor(0, 0, 0, 110));
    fill(p, body, burst);
    p.save();
    p.setOpacity(0.35);
    fillWood(p, body, QColor(0xC0, 0x70, 0x30), seed, W * 0.03, 40);
    p.restore();
    shade(p, body, W * 0.05, 120, 90);

    // Pickguard: the upper body inside its edge, down to a curve below the pickup.
    QPainterPathStroker edge;
    edge.setWidth(W * 0.1);
    QPainterPath upper(QPointF(-W * 1.2, Y(-0.3)));
    upper.lineTo(W * 1.2, Y(-0.3));
    upper.lineTo(W * 1.2, Y(0.36));
    upper.cubicTo(QPointF(W * 0.5, Y(0.4)), QPointF(W * 0.1, Y(0.6)), QPointF(-W * 0.3, Y(0.64)));
    upper.cubicTo(QPointF(-W * 0.7, Y(0.68)), QPointF(-W * 1.0, Y(0.6)), QPointF(-W * 1.2, Y(0.58)));
    upper.closeSubpath();
    const QPainterPath guard = body.subtracted(edge.createStroke(body)).intersected(upper).subtracted(taper(Y(-0.3), nh, Y(0.16), nh));
    fill(p, guard.translated(4, 6), QColor(0, 0, 0, 80));
    fill(p, guard, QColor(0xF2, 0xEE, 0xE4), QPen(QColor(0x22, 0x22, 0x22), 3));
    shade(p, guard, 6, 60, 50);
    for (const QPointF& s : {QPointF(-W * 0.62, Y(0.05)), QPointF(-W * 0.7, Y(0.45)), QPointF(W * 0.62, Y(0.2)),
                             QPointF(-W * 0.2, Y(0.6)), QPointF(W * 0.3, Y(0.42))})
        fill(p, ellipsePath(s.x(), s.y(), 4, 4), dome(s, 4, kNickel));

    // Split pickup: two black covers with pole pieces.
    for (int side : {-1, 1}) {
        const QRectF cover(side < 0 ? -W * 0.36 : -W * 0.02, Y(side < 0 ? 0.28 : 0.33), W * 0.36, W * 0.16);
        fill(p, roundedRectPath(cover.translated(3, 5), 10), QColor(0, 0, 0, 110));
        QLinearGradient g(0, cover.top(), 0, cover.bottom());
        g.setColorAt(0, QColor(0x3A, 0x3A, 0x3A));
        g.setColorAt(1, QColor(0x0E, 0x0E, 0x0E));
        fill(p, roundedRectPath(cover, 10), g);
        for (int k = 0; k < 2; ++k) {
            const QPointF pole(cover.left() + cover.width() * (0.3 + 0.4 * k), cover.center().y());
            fill(p, ellipsePath(pole.x(), pole.y(), 6, 6), dome(pole, 6, kNickel));
        }
    }
    // Control plate with two knobs.
    const QRectF plate(W * 0.4, Y(0.6), W * 0.34, W * 0.6);
    fill(p, roundedRectPath(plate, W * 0.2), metal(plate.left(), plate.right()));
    for (qreal f : {0.28, 0.72}) {
        const QPointF k(plate.center().x(), plate.top() + plate.height() * f);
        fill(p, ellipsePath(k.x() + 2, k.y() + 3, W * 0.1, W * 0.1), QColor(0, 0, 0, 120));
        fill(p, ellipsePath(k.x(), k.y(), W * 0.1, W * 0.1), dome(k, W * 0.1, QColor(0x2A, 0x2A, 0x2A)));
    }
    // Bridge.
    const qreal saddle = nut + scale;
    const QRectF bridge(-W * 0.28, saddle - 10, W * 0.56, W * 0.34);
    fill(p, roundedRectPath(bridge.translated(3, 5), 6), QColor(0, 0, 0, 110));
    fill(p, roundedRectPath(bridge, 6), metal(bridge.left(), bridge.right()));
    const std::vector<qreal> atSaddle = spread(4, W * 0.16);
    for (qreal x : atSaddle)
        fill(p, roundedRectPath(QRectF(x - 8, saddle - 4, 16, 26), 4), metal(x - 8, x + 8, kNickel.lighter(110)));

    // Neck, head with four machines in line on the bass side.
    const qreal headTop = 10;
    QPainterPath head = curveThrough({{neckHalf, nut}, {neckHalf * 1.15, nut - 60}, {neckHalf * 1.0, headTop + 60},
                                      {neckHalf * 0.3, headTop + 6}, {-neckHalf * 0.9, headTop}, {-neckHalf * 1.9, headTop + 40},
                                      {-neckHalf * 2.1, headTop + 110}, {-neckHalf * 1.5, nut - 40}, {-neckHalf, nut}},
                                     false);
    head.closeSubpath();
    const QPainterPath neck = taper(nut, neckHalf, bodyTop + 40, neckHalf * 1.3);
    fill(p, head.united(neck).translated(5, 7), QColor(0, 0, 0, 90));
    fillWood(p, neck.united(head), QColor(0xD8, 0xB0, 0x72), seed + 1, 5, 40);
    shade(p, head, 8, 120, 60);
    std::vector<QPointF> posts;
    for (int i = 0; i < 4; ++i) {
        const qreal y = headTop + 30 + i * 36;
        posts.push_back(QPointF(-neckHalf * (1.2 - 0.15 * i), y));
    }
    drawFretboard(p, {nut, scale, neckHalf * 0.97, fretY(nut, scale, 21), neckHalf * 1.28, 20, 3, {3, 5, 7, 9, 12, 15, 17, 19}, 5,
                      kRosewood, 4},
                  seed + 2);

    const std::vector<qreal> atNut = spread(4, neckHalf * 0.78);
    for (int i = 0; i < 4; ++i) {
        const qreal w = 6.2 - 0.9 * i;
        // Lowest string on the lowest machine; the strings cross the head to their posts.
        const QPointF post = posts[3 - i];
        stringAlong(p, {post, QPointF(atNut[i], nut), QPointF(atSaddle[i], saddle + 6)}, w, kSteel.darker(108));
    }
    for (int i = 0; i < 4; ++i) {
        const QPointF post = posts[i];
        const QPointF knob(-neckHalf * 2.1 - 26, post.y());
        fill(p, roundedRectPath(QRectF(-neckHalf * 2.2 - 8, post.y() - 4, 14, 8), 2), metal(0, 10));
        fill(p, ellipsePath(knob.x() + 3, knob.y() + 4, 20, 15), QColor(0, 0, 0, 90));
        fill(p, ellipsePath(knob.x(), knob.y(), 20, 15), dome(knob, 20, kNickel));
        fill(p, ellipsePath(post.x(), post.y(), 7, 7), dome(post, 7, kNickel));
    }
}

// ---------------------------------------------------------------------------------------------
// Banjo: a drum head in a metal rim with its hooks, a long neck, and the short fifth string whose
// peg sits at the side of the neck at the fifth fret.

void drawBanjo(QPainter& p, quint32 seed)
{
    const qreal R = 190;            // rim radius
    const QPointF c(0, 790);
    const qreal nut = 150, scale = 610;
    const qreal neckHalf = 18;
    const qreal bridgeY = nut + scale;

    // Resonator flange and the rim.
    fill(p, ellipsePath(c.x() + 10, c.y() + 14, R * 1.08, R * 1.08), QColor(0, 0, 0, 110));
    QRadialGradient flange(c, R * 1.08);
    flange.setColorAt(0.88, QColor(0x5A, 0x30, 0x18));
    flange.setColorAt(0.93, QColor(0x7A, 0x45, 0x22));
    flange.setColorAt(1, QColor(0x2A, 0x14, 0x0A));
    fill(p, ellipsePath(c.x(), c.y(), R * 1.08, R * 1.08), flange);
    fill(p, ellipsePath(c.x(), c.y(), R * 1.0, R * 1.0), metal(c.x() - R, c.x() + R));
    // The hooks and their nuts around the rim.
    for (int i = 0; i < 24; ++i) {
        const qreal a = i * 2 * M_PI / 24;
        const QPointF dir(std::cos(a), std::sin(a));
        const QPointF from = c + dir * R * 0.95, to = c + dir * R * 1.06;
        p.setPen(QPen(QColor(0xE6, 0xE8, 0xEA), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
        fill(p, ellipsePath(to.x(), to.y(), 6, 6), dome(to, 6, kNickel));
    }
    // The head: frosted white with a soft light.
    QRadialGradient head(c - QPointF(R * 0.3, R * 0.35), R * 1.2);
    head.setColorAt(0, QColor(0xFB, 0xF7, 0xEC));
    head.setColorAt(0.7, QColor(0xEE, 0xE6, 0xD2));
    head.setColorAt(1, QColor(0xC8, 0xBE, 0xA8));
    fill(p, ellipsePath(c.x(), c.y(), R * 0.9, R * 0.9), head);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x8C, 0x8E, 0x90), 3));
    p.drawEllipse(c, R * 0.9, R * 0.9);

    // Tailpiece from the rim's bottom, armrest on the right.
    const QPainterPath tail = symmetric({{0, c.y() + R * 0.38}, {R * 0.09, c.y() + R * 0.38, true}, {R * 0.1, c.y() + R * 0.5},
                                         {R * 0.05, c.y() + R * 0.98}, {0, c.y() + R * 1.0}});
    fill(p, tail.translated(4, 6), QColor(0, 0, 0, 90));
    fill(p, tail, metal(-R * 0.13, R * 0.13));
    QPainterPath arm;
    arm.moveTo(c + QPointF(R * 0.55, R * 0.72));
    arm.cubicTo(c + QPointF(R * 0.9, R * 0.45), c + QPointF(R * 1.0, R * 0.0), c + QPointF(R * 0.93, -R * 0.3));
    p.setPen(QPen(QColor(0, 0, 0, 100), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arm.translated(3, 5));
    p.setPen(QPen(metal(c.x() + R * 0.5, c.x() + R, kNickel.darker(115)), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arm);

    // Neck and head stock; the neck runs onto the drum head up to the rim's middle.
    const qreal headTop = 5;
    const QPainterPath stock = symmetric({{0, headTop}, {neckHalf * 0.9, headTop}, {neckHalf * 1.8, headTop + 40},
                                          {neckHalf * 1.45, headTop + 80}, {neckHalf * 1.8, headTop + 115},
                                          {neckHalf * 1.05, nut, true}, {0, nut}});
    const QPainterPath neck = taper(nut, neckHalf, c.y() - R * 0.25, neckHalf * 1.35);
    fill(p, stock.united(neck).translated(6, 8), QColor(0, 0, 0, 90));
    fillWood(p, neck, QColor(0x7C, 0x44, 0x22), seed, 5, 40);
    fillWood(p, stock, QColor(0x5E, 0x32, 0x18), seed + 1, 5, 40);
    shade(p, stock, 6, 140, 50);
    // The short string's side: a bulge of the neck at the fifth fret with its peg.
    const qreal fifth = fretY(nut, scale, 5);
    const qreal fifthStart = fifth + 8;
    const QPointF fifthPeg(-neckHalf * 1.9, fifthStart);
    machine(p, fifthPeg + QPointF(neckHalf * 0.5, 0), -1, 9, kBone);

    drawFretboard(p, {nut, scale, neckHalf * 0.97, c.y() - R * 0.27, neckHalf * 1.33, 22, 3, {5, 7, 10, 12, 15, 17}, 4.5,
                      kRosewood, 4},
                  seed + 2);

    // Four pegs on the head, two a side.
    std::vector<QPointF> posts;
    for (int i = 0; i < 4; ++i) {
        const int side = i < 2 ? -1 : 1;
        const qreal y = headTop + (i == 0 || i == 3 ? 100 : 45);
        posts.push_back(QPointF(side * neckHalf * 0.75, y));
        machine(p, QPointF(side * neckHalf * 1.55, y), side, 10, kBone);
    }

    // Bridge on the head and the strings: the fifth (G4) leftmost from its peg, then D3 G3 B3 D4.
    const QRectF bridge(-R * 0.2, bridgeY - 6, R * 0.4, 12);
    fill(p, roundedRectPath(bridge.translated(3, 5), 3), QColor(0, 0, 0, 90));
    fillWood(p, roundedRectPath(bridge, 3), QColor(0xD9, 0xB8, 0x80), seed + 3, 3, 40);
    const std::vector<qreal> atBridge = spread(5, R * 0.16);
    const std::vector<qreal> atNut = spread(4, neckHalf * 0.7);
    const qreal tailY = c.y() + R * 0.42;
    const std::vector<qreal> atTail = spread(5, R * 0.08);
    stringAlong(p, {fifthPeg + QPointF(neckHalf * 0.5, 0), QPointF(-neckHalf * 0.95, fifthStart), QPointF(atBridge[0], bridgeY),
                    QPointF(atTail[0], tailY)},
                2.6, kSteel);
    for (int i = 0; i < 4; ++i) {
        const qreal w = i == 0 ? 3.6 : 2.8 - 0.15 * i;
        const QColor col = i == 0 ? kSteel.darker(110) : kSteel;
        stringAlong(p, {posts[i], QPointF(atNut[i], nut), QPointF(atBridge[i + 1], bridgeY), QPointF(atTail[i + 1], tailY)}, w,
                    col);
    }
    // The fifth string's nut: a small pip beside the fifth fret.
    fill(p, ellipsePath(-neckHalf * 0.95, fifthStart, 3.5, 3.5), dome(QPointF(-neckHalf * 0.95, fifthStart), 4, kNickel));
}

// ---------------------------------------------------------------------------------------------
// Balalaika: a triangular body with a small round sound hole, three strings, a long fretted neck.

void drawBalalaika(QPainter& p, quint32 seed)
{
    const qreal nut = 140, scale = 660, neckHalf = 15;
    const qreal top = 520, bottom = 985, half = 270;
    QPainterPath body;
    body.moveTo(0, top);
    body.cubicTo(QPointF(20, top), QPointF(half * 0.6, bottom - 120), QPointF(half * 0.96, bottom - 28));
    body.quadTo(QPointF(half, bottom), QPointF(half * 0.9, bottom));
    body.lineTo(-half * 0.9, bottom);
    body.quadTo(QPointF(-half, bottom), QPointF(-half * 0.96, bottom - 28));
    body.cubicTo(QPointF(-half * 0.6, bottom - 120), QPointF(-20, top), QPointF(0, top));
    body.closeSubpath();
    fill(p, body.translated(10, 14), QColor(0, 0, 0, 110));
    fillWood(p, body, QColor(0xE4, 0xBE, 0x82), seed, 6, 55);
    shade(p, body, 14, 160, 70);
    inlay(p, body, 9, QColor(0x3A, 0x22, 0x12, 230), 5);
    inlay(p, body, 16, QColor(0xF2, 0xE8, 0xD0, 180), 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x4A, 0x2A, 0x14), 4));
    p.drawPath(body);

    // The sound hole with its rosette, and the guard below it.
    const QPointF hole(0, top + (bottom - top) * 0.48);
    const qreal R = 26;
    QRadialGradient rosette(hole, R * 1.9);
    rosette.setColorAt(0.5, QColor(0x2A, 0x18, 0x0C));
    rosette.setColorAt(0.56, QColor(0xF2, 0xE6, 0xC8));
    rosette.setColorAt(0.68, QColor(0xA8, 0x2A, 0x22));
    rosette.setColorAt(0.8, QColor(0x2A, 0x18, 0x0C));
    rosette.setColorAt(0.88, QColor(0xF2, 0xE6, 0xC8));
    rosette.setColorAt(1, QColor(0xE4, 0xBE, 0x82, 0));
    fill(p, ellipsePath(hole.x(), hole.y(), R * 1.9, R * 1.9), rosette);
    fill(p, ellipsePath(hole.x(), hole.y(), R, R), QColor(0x0A, 0x06, 0x03));
    QPainterPath guard;
    guard.moveTo(-half * 0.34, bottom - 150);
    guard.cubicTo(QPointF(-half * 0.3, bottom - 210), QPointF(-half * 0.12, bottom - 250), QPointF(0, hole.y() + R * 2.2));
    guard.cubicTo(QPointF(half * 0.12, bottom - 250), QPointF(half * 0.3, bottom - 210), QPointF(half * 0.34, bottom - 150));
    guard.quadTo(QPointF(0, bottom - 120), QPointF(-half * 0.34, bottom - 150));
    fill(p, guard.translated(3, 5), QColor(0, 0, 0, 80));
    fillWood(p, guard, QColor(0x4A, 0x26, 0x14), seed + 1, 4, 50);
    shade(p, guard, 5, 120, 60);

    // Bridge and the string holder at the bottom.
    const qreal bridgeY = nut + scale;
    fill(p, roundedRectPath(QRectF(-50, bridgeY - 6, 100, 12).translated(3, 4), 4), QColor(0, 0, 0, 90));
    fillWood(p, roundedRectPath(QRectF(-50, bridgeY - 6, 100, 12), 4), QColor(0xF0, 0xE4, 0xC4), seed + 2, 3, 30);
    const QRectF holder(-22, bottom - 22, 44, 20);
    fill(p, roundedRectPath(holder, 5), QColor(0x2A, 0x16, 0x0A));

    // Neck and a spade-shaped head with three machines (two left, one right).
    const qreal headTop = 10;
    const QPainterPath head = symmetric({{0, headTop}, {neckHalf * 1.2, headTop + 8}, {neckHalf * 2.1, headTop + 50},
                                         {neckHalf * 1.9, nut - 40}, {neckHalf * 1.05, nut, true}, {0, nut}});
    const QPainterPath neck = taper(nut, neckHalf, top + 40, neckHalf * 1.45);
    fill(p, head.united(neck).translated(6, 8), QColor(0, 0, 0, 90));
    fillWood(p, neck, QColor(0x8A, 0x52, 0x2A), seed + 3, 4, 40);
    fillWood(p, head, QColor(0x6A, 0x3A, 0x1C), seed + 4, 4, 40);
    shade(p, head, 6, 140, 50);
    drawFretboard(p, {nut, scale, neckHalf * 0.95, top + 80, neckHalf * 1.5, 16, 2.8, {5, 7, 10, 12}, 4, kRosewood, 3.5}, seed + 5);
    const std::vector<QPointF> posts = {QPointF(-neckHalf * 0.6, headTop + 95), QPointF(-neckHalf * 0.6, headTop + 45),
                                        QPointF(neckHalf * 0.6, headTop + 70)};
    machine(p, QPointF(-neckHalf * 1.85, posts[0].y()), -1, 9, kBone);
    machine(p, QPointF(-neckHalf * 2.0, posts[1].y()), -1, 9, kBone);
    machine(p, QPointF(neckHalf * 2.0, posts[2].y()), 1, 9, kBone);

    const std::vector<qreal> atNut = spread(3, neckHalf * 0.62);
    const std::vector<qreal> atBridge = spread(3, 30);
    const std::vector<qreal> atHolder = spread(3, 12);
    for (int i = 0; i < 3; ++i) {
        const QColor c = i < 2 ? kNylon.darker(104) : kSteel;
        const qreal w = i < 2 ? 3.2 : 2.4;
        stringAlong(p, {posts[i], QPointF(atNut[i], nut), QPointF(atBridge[i], bridgeY), QPointF(atHolder[i], bottom - 16)}, w, c);
    }
}

// ---------------------------------------------------------------------------------------------
// Mandolin: a teardrop body in sunburst with an oval sound hole, four pairs of strings.

void drawMandolin(QPainter& p, quint32 seed)
{
    const qreal nut = 210, scale = 520, neckHalf = 17;
    const qreal top = 500, bottom = 985, half = 205;
    const auto Y = [&](qreal f) { return top + f * (bottom - top); };
    const QPainterPath body = symmetric({{0, Y(0)}, {half * 0.16, Y(0.01)}, {half * 0.45, Y(0.1)}, {half * 0.78, Y(0.3)},
                                         {half, Y(0.58)}, {half * 0.92, Y(0.8)}, {half * 0.6, Y(0.96)}, {0, Y(1.0)}});
    fill(p, body.translated(10, 14), QColor(0, 0, 0, 110));
    QRadialGradient burst(QPointF(0, Y(0.55)), half * 1.1);
    burst.setColorAt(0, QColor(0xEE, 0xB8, 0x5A));
    burst.setColorAt(0.5, QColor(0xC8, 0x7A, 0x2C));
    burst.setColorAt(0.8, QColor(0x6A, 0x26, 0x0E));
    burst.setColorAt(1, QColor(0x1A, 0x08, 0x04));
    fill(p, body, burst);
    p.save();
    p.setOpacity(0.45);
    fillWood(p, body, QColor(0xC8, 0x7A, 0x2C), seed, 5, 40);
    p.restore();
    shade(p, body, 12, 120, 80);
    inlay(p, body, 6, QColor(0xF4, 0xEE, 0xDD, 230), 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x20, 0x0C, 0x06), 4));
    p.drawPath(body);

    // Oval sound hole with binding, and a tortoise guard beside it.
    const QPointF hole(0, Y(0.36));
    QPainterPath guard(QPointF(half * 0.26, Y(0.22)));
    guard.cubicTo(QPointF(half * 0.56, Y(0.24)), QPointF(half * 0.74, Y(0.46)), QPointF(half * 0.62, Y(0.64)));
    guard.quadTo(QPointF(half * 0.46, Y(0.7)), QPointF(half * 0.34, Y(0.56)));
    guard.cubicTo(QPointF(half * 0.4, Y(0.44)), QPointF(half * 0.38, Y(0.3)), QPointF(half * 0.26, Y(0.22)));
    QLinearGradient tortoise(half * 0.2, Y(0.25), half * 0.6, Y(0.7));
    tortoise.setSpread(QGradient::ReflectSpread);
    tortoise.setColorAt(0, QColor(0x6A, 0x34, 0x10, 235));
    tortoise.setColorAt(0.3, QColor(0xB8, 0x72, 0x2C, 235));
    tortoise.setColorAt(0.55, QColor(0x58, 0x28, 0x0C, 235));
    tortoise.setColorAt(0.8, QColor(0xAC, 0x64, 0x24, 235));
    tortoise.setColorAt(1, QColor(0x62, 0x2E, 0x0E, 235));
    fill(p, guard.translated(3, 5), QColor(0, 0, 0, 90));
    fill(p, guard, tortoise, QPen(QColor(0xF4, 0xEE, 0xDD), 2.5));
    fill(p, ellipsePath(hole.x(), hole.y(), 46, 62), QColor(0xF4, 0xEE, 0xDD));
    fill(p, ellipsePath(hole.x(), hole.y(), 40, 56), QColor(0x0A, 0x05, 0x02));

    // Bridge and tailpiece cover.
    const qreal bridgeY = nut + scale;
    fill(p, roundedRectPath(QRectF(-60, bridgeY - 7, 120, 14).translated(3, 5), 4), QColor(0, 0, 0, 90));
    fillWood(p, roundedRectPath(QRectF(-60, bridgeY - 7, 120, 14), 4), kEbony.lighter(150), seed + 1, 3, 30);
    fill(p, roundedRectPath(QRectF(-14, bridgeY - 3, 28, 6), 2), kBone);
    const QPainterPath tail = symmetric({{0, Y(0.86)}, {34, Y(0.86)}, {26, Y(0.99)}, {0, Y(0.995)}});
    fill(p, tail.translated(3, 5), QColor(0, 0, 0, 90));
    fill(p, tail, metal(-34, 34));

    // Neck and paddle head with four machines a side.
    const qreal headTop = 20;
    const QPainterPath head = symmetric({{0, headTop}, {neckHalf * 1.4, headTop + 4}, {neckHalf * 1.9, headTop + 40},
                                         {neckHalf * 1.7, nut - 20}, {neckHalf * 1.05, nut, true}, {0, nut}});
    const QPainterPath neck = taper(nut, neckHalf, top + 40, neckHalf * 1.4);
    fill(p, head.united(neck).translated(6, 8), QColor(0, 0, 0, 90));
    fillWood(p, neck, QColor(0x8A, 0x4E, 0x26), seed + 2, 4, 40);
    fillWood(p, head, kEbony.lighter(140), seed + 3, 4, 30);
    shade(p, head, 6, 120, 60);
    drawFretboard(p, {nut, scale, neckHalf * 0.95, Y(0.2), neckHalf * 1.55, 20, 2.6, {5, 7, 10, 12, 15}, 4, kEbony.lighter(130), 3.5},
                  seed + 4);
    std::vector<QPointF> posts;
    for (int course = 0; course < 4; ++course) {
        const int side = course < 2 ? -1 : 1;
        for (int k = 0; k < 2; ++k) {
            // Course 0 (G) on the two lowest left posts, course 3 (E) on the lowest right ones.
            const int row = course < 2 ? (course == 0 ? 2 + k : k) : (course == 3 ? 2 + k : k);
            const qreal y = headTop + 40 + row * 36;
            posts.push_back(QPointF(side * neckHalf * 1.0, y));
            machine(p, QPointF(side * neckHalf * 1.75, y), side, 7, kBone);
        }
    }
    const std::vector<qreal> atNut = spread(8, neckHalf * 0.74);
    const std::vector<qreal> atBridge = spread(8, 40);
    const std::vector<qreal> atTail = spread(8, 24);
    for (int i = 0; i < 8; ++i) {
        const qreal w = 2.6 - 0.2 * (i / 2);
        const QColor c = i < 4 ? kBronze.lighter(115) : kSteel;
        stringAlong(p, {posts[i], QPointF(atNut[i], nut), QPointF(atBridge[i], bridgeY), QPointF(atTail[i], Y(0.87))}, w, c);
    }
}

// ---------------------------------------------------------------------------------------------
// Dombra: a long pear-shaped body, a very long neck with tied frets, two strings.

void drawDombra(QPainter& p, quint32 seed)
{
    const qreal nut = 90, scale = 770, neckHalf = 13;
    const qreal top = 560, bottom = 990, half = 150;
    const auto Y = [&](qreal f) { return top + f * (bottom - top); };
    const QPainterPath body = symmetric({{0, Y(0)}, {neckHalf * 1.6, Y(0.0)}, {half * 0.45, Y(0.1)}, {half * 0.82, Y(0.32)},
                                         {half, Y(0.58)}, {half * 0.92, Y(0.82)}, {half * 0.6, Y(0.97)}, {0, Y(1.0)}});
    fill(p, body.translated(10, 14), QColor(0, 0, 0, 110));
    fillWood(p, body, QColor(0xB0, 0x74, 0x3C), seed, 5, 60);
    shade(p, body, 12, 170, 70);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x3A, 0x1E, 0x0C), 4));
    p.drawPath(body);

    // The ornament: a band of ram's-horn curls around the lower body and two small sound holes.
    const QColor ivory(0xF2, 0xE6, 0xC8);
    p.save();
    p.setClipPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(QColor(0x3A, 0x1E, 0x0C), 220), 9));
    QPainterPath band;
    band.addEllipse(QPointF(0, Y(0.66)), half * 0.72, half * 0.9);
    p.drawPath(band);
    p.setPen(QPen(ivory, 3));
    p.drawPath(band);
    // Curls: pairs of spirals opening outwards, left and right of the centre line.
    for (int k = 0; k < 3; ++k) {
        const qreal y = Y(0.5 + 0.13 * k);
        for (int side : {-1, 1}) {
            QPainterPath curl;
            const QPointF c(side * half * 0.3, y);
            for (int i = 0; i <= 60; ++i) {
                const qreal t = i / 60.0;
                const qreal a = t * 2.2 * M_PI;
                const qreal r = 22 * (1 - t * 0.8);
                const QPointF q = c + QPointF(side * r * std::cos(a), r * std::sin(a));
                if (i == 0)
                    curl.moveTo(q);
                else
                    curl.lineTo(q);
            }
            p.setPen(QPen(QColor(0x3A, 0x1E, 0x0C, 200), 7, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(curl);
            p.setPen(QPen(ivory, 2.5, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(curl);
        }
    }
    p.restore();
    for (int side : {-1, 1}) {
        const QPointF h(side * 34, Y(0.3));
        fill(p, ellipsePath(h.x(), h.y(), 9, 9), ivory);
        fill(p, ellipsePath(h.x(), h.y(), 6, 6), QColor(0x0A, 0x05, 0x02));
    }

    // Bridge and the string holder.
    const qreal bridgeY = nut + scale;
    fill(p, roundedRectPath(QRectF(-32, bridgeY - 6, 64, 12).translated(3, 5), 4), QColor(0, 0, 0, 90));
    fillWood(p, roundedRectPath(QRectF(-32, bridgeY - 6, 64, 12), 4), QColor(0xE8, 0xD6, 0xAE), seed + 1, 3, 30);
    fill(p, roundedRectPath(QRectF(-16, bottom - 24, 32, 20), 5), QColor(0x2A, 0x14, 0x08));

    // The long neck with frets tied round it, and a small head with two pegs at the sides.
    const qreal headTop = 5;
    const QPainterPath head = symmetric({{0, headTop}, {neckHalf * 1.1, headTop + 4}, {neckHalf * 1.4, headTop + 30},
                                         {neckHalf * 1.2, nut - 6}, {neckHalf, nut, true}, {0, nut}});
    const QPainterPath neck = taper(nut, neckHalf, top + 30, neckHalf * 1.5);
    fill(p, head.united(neck).translated(6, 8), QColor(0, 0, 0, 90));
    fillWood(p, neck.united(head), QColor(0x96, 0x5C, 0x2E), seed + 2, 4, 45);
    shade(p, neck.united(head), 4, 140, 40);
    p.save();
    p.setClipPath(neck);
    for (int n = 1; n <= 13; ++n) {
        const qreal y = fretY(nut, scale, n);
        if (y > top)
            break;
        for (int k = 0; k < 3; ++k)
            p.fillRect(QRectF(-neckHalf * 2, y - 3 + k * 2.2, neckHalf * 4, 1.4), QColor(0xE8, 0xDC, 0xBE, 220 - k * 30));
        p.fillRect(QRectF(-neckHalf * 2, y + 3.5, neckHalf * 4, 1.5), QColor(0, 0, 0, 80));
    }
    p.restore();
    fill(p, roundedRectPath(QRectF(-neckHalf, nut - 5, 2 * neckHalf, 6), 2), kBone);
    const std::vector<QPointF> posts = {QPointF(-neckHalf * 0.3, headTop + 55), QPointF(neckHalf * 0.3, headTop + 30)};
    machine(p, QPointF(-neckHalf * 1.3, posts[0].y()), -1, 8, kBone);
    machine(p, QPointF(neckHalf * 1.35, posts[1].y()), 1, 8, kBone);
    const std::vector<qreal> atNut = spread(2, neckHalf * 0.45);
    const std::vector<qreal> atBridge = spread(2, 14);
    const std::vector<qreal> atHolder = spread(2, 8);
    for (int i = 0; i < 2; ++i) {
        stringAlong(p, {posts[i], QPointF(atNut[i], nut), QPointF(atBridge[i], bridgeY), QPointF(atHolder[i], bottom - 18)}, 3.0,
                    kNylon);
    }
}

// ---------------------------------------------------------------------------------------------
// Which drawing each row of the tuner table gets.

struct Drawing
{
    const char* name;
    void (*draw)(QPainter& p, quint32 seed);
};

const Drawing kDrawings[] = {
    {"Violin", [](QPainter& p, quint32 seed) { drawBowed(p, kViolin, seed); }},
    {"Viola", [](QPainter& p, quint32 seed) { drawBowed(p, kViola, seed); }},
    {"Cello", [](QPainter& p, quint32 seed) { drawBowed(p, kCello, seed); }},
    {"DoubleBass", [](QPainter& p, quint32 seed) { drawBowed(p, kDoubleBass, seed); }},
    {"Guitar", [](QPainter& p, quint32 seed) { drawFlattop(p, kGuitar, seed); }},
    {"Ukulele", [](QPainter& p, quint32 seed) { drawFlattop(p, kUkulele, seed); }},
    {"BassGuitar", drawBassGuitar},
    {"Banjo", drawBanjo},
    {"Balalaika", drawBalalaika},
    {"Mandolin", drawMandolin},
    {"Dombra", drawDombra},
};

const Drawing* drawingOf(const QString& name)
{
    for (const Drawing& drawing : kDrawings) {
        if (name == QLatin1String(drawing.name))
            return &drawing;
    }
    return nullptr;
}

void drawInstrument(QPainter& p, const QString& name)
{
    if (const Drawing* drawing = drawingOf(name))
        drawing->draw(p, qHash(name));
}

// The instrument alone on a transparent layer of `size`, standing in `box` (units scaled so that
// 1000 units fill the box's height), turned by `angle` degrees about the box's centre.
QImage instrumentLayer(const QString& name, const QSize& size, const QRectF& box, qreal angle)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(box.center());
    p.rotate(angle);
    const qreal unit = box.height() / 1000.0;
    p.scale(unit, unit);
    p.translate(0, -500);
    drawInstrument(p, name);
    p.end();
    return layer;
}

// A soft shadow of a layer: its alpha, blurred by scaling down and up, in black.
QImage shadowOf(const QImage& layer, int blur)
{
    QImage small = layer.scaled(qMax(1, layer.width() / blur), qMax(1, layer.height() / blur), Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
    QPainter sp(&small);
    sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
    sp.fillRect(small.rect(), Qt::black);
    sp.end();
    small = small.scaled(small.width() * 2, small.height() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return small.scaled(layer.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The dark stage every picture stands on: a warm light behind the instrument that fades to black
// at every edge, so that the black bars a page shows beside or above the picture meet it without
// a seam.
void stage(QPainter& p, const QRectF& r)
{
    p.fillRect(r, Qt::black);
    const QPointF centre(r.center().x(), r.top() + r.height() * 0.46);
    const qreal ry = r.height() * 0.54;
    const qreal rx = r.width() * 0.5;
    QRadialGradient light(centre, ry);
    light.setColorAt(0, QColor(0x36, 0x34, 0x33));
    light.setColorAt(0.5, QColor(0x1F, 0x20, 0x24));
    light.setColorAt(0.85, QColor(0x08, 0x08, 0x0A));
    light.setColorAt(1, QColor(0, 0, 0));
    p.save();
    p.translate(centre);
    p.scale(rx / ry, 1);
    p.translate(-centre);
    p.fillRect(QRectF(centre.x() - ry, centre.y() - ry, 2 * ry, 2 * ry), light);
    p.restore();
}

QImage pagePicture(const QString& name)
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    stage(p, image.rect());
    // Clear of the page's panels: the modes panel above, the string buttons below.
    const QRectF box(0, kPictureHeight * 0.06, kPictureWidth, kPictureHeight * 0.8);
    const QImage layer = instrumentLayer(name, image.size(), box, 0);
    p.setOpacity(0.7);
    p.drawImage(QPointF(kPictureWidth * 0.018, kPictureHeight * 0.016), shadowOf(layer, 14));
    p.setOpacity(1);
    p.drawImage(0, 0, layer);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// The explorer's buttons: a dark glass tile with the instrument across it. Normal, hovered,
// pressed or checked (a blue light behind the instrument), and pressed or checked while hovered.

enum class Face { Normal, Hover, Pressed, PressedHover };

void tile(QPainter& p, qreal side, Face face)
{
    const QRectF r(1.5, 1.5, side - 3, side - 3);
    const bool pressed = face == Face::Pressed || face == Face::PressedHover;
    const bool hover = face == Face::Hover || face == Face::PressedHover;
    QLinearGradient glass(r.topLeft(), r.bottomLeft());
    glass.setColorAt(0, pressed ? QColor(0x1A, 0x22, 0x48) : QColor(0x3C, 0x3E, 0x46));
    glass.setColorAt(0.5, pressed ? QColor(0x0C, 0x10, 0x2C) : QColor(0x1C, 0x1D, 0x22));
    glass.setColorAt(1, pressed ? QColor(0x06, 0x08, 0x1A) : QColor(0x0C, 0x0C, 0x10));
    p.setPen(QPen(hover ? QColor(0xB8, 0xC8, 0xF0) : QColor(0x70, 0x72, 0x7A), hover ? 2.0 : 1.2));
    p.setBrush(glass);
    p.drawRoundedRect(r, 12, 12);
    if (pressed) {
        QRadialGradient glow(r.center(), r.width() * 0.55);
        glow.setColorAt(0, QColor(0x5A, 0x7C, 0xFF, hover ? 170 : 130));
        glow.setColorAt(1, QColor(0x5A, 0x7C, 0xFF, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(r, 12, 12);
    } else if (hover) {
        QRadialGradient glow(r.center(), r.width() * 0.6);
        glow.setColorAt(0, QColor(255, 255, 255, 40));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(r, 12, 12);
    }
}

void glassSheen(QPainter& p, qreal side)
{
    QPainterPath top;
    top.addRoundedRect(QRectF(3, 3, side - 6, side * 0.45), 10, 10);
    QLinearGradient sheen(0, 3, 0, side * 0.48);
    sheen.setColorAt(0, QColor(255, 255, 255, 46));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawPath(top);
}

// The instrument as the buttons show it at `scale`, and its shadow: across the tile's diagonal, head
// to the upper right, drawn at four times the size and scaled down, so that its details stay
// smooth. Every face of a button shows the same.
struct ButtonInstrument
{
    QImage picture;
    QImage shadow;
};

ButtonInstrument buttonInstrument(const QString& name, int scale)
{
    const int px = kButtonSide * scale;
    const int big = px * 4;
    const qreal length = big * 1.02;
    const QImage layer = instrumentLayer(name, QSize(big, big), QRectF(big / 2.0 - length / 6, big / 2.0 - length / 2, length / 3, length), 40);
    const QImage small = layer.scaled(px, px, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {small, shadowOf(small, 3)};
}

QImage buttonFace(const ButtonInstrument& instrument, Face face, int scale)
{
    const int px = kButtonSide * scale;
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    tile(p, kButtonSide, face);
    p.end();
    QPainter q(&image);
    q.setRenderHint(QPainter::Antialiasing);
    QPainterPath inside;
    inside.addRoundedRect(QRectF(2.5, 2.5, kButtonSide - 5, kButtonSide - 5), 11, 11);
    q.setClipPath(QTransform::fromScale(scale, scale).map(inside));
    q.setOpacity(0.6);
    q.drawImage(QPointF(1.5 * scale, 2 * scale), instrument.shadow);
    q.setOpacity(face == Face::Normal ? 0.92 : 1.0);
    q.drawImage(0, 0, instrument.picture);
    q.setOpacity(1);
    q.scale(scale, scale);
    glassSheen(q, kButtonSide);
    q.end();
    return image;
}

// The Harmolux button: the chord book's sign, a chord diagram with its fingers, on the same tile.
QImage harmoluxFace(Face face, int scale)
{
    const int px = kButtonSide * scale;
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    tile(p, kButtonSide, face);
    const QRectF grid(26, 22, 40, 50);
    QLinearGradient paper(grid.topLeft(), grid.bottomLeft());
    paper.setColorAt(0, QColor(0xFB, 0xF7, 0xEE));
    paper.setColorAt(1, QColor(0xE4, 0xDC, 0xC8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(grid.adjusted(-5, -5, 7, 7), 4, 4);
    p.setBrush(paper);
    p.drawRoundedRect(grid.adjusted(-6, -6, 6, 6), 4, 4);
    p.setPen(QPen(QColor(0x3A, 0x33, 0x2C), 1.1));
    for (int s = 0; s < 6; ++s)
        p.drawLine(QPointF(grid.left() + s * grid.width() / 5, grid.top()), QPointF(grid.left() + s * grid.width() / 5, grid.bottom()));
    for (int f = 0; f <= 4; ++f)
        p.drawLine(QPointF(grid.left(), grid.top() + f * grid.height() / 4), QPointF(grid.right(), grid.top() + f * grid.height() / 4));
    p.setPen(QPen(QColor(0x3A, 0x33, 0x2C), 3));
    p.drawLine(grid.topLeft(), grid.topRight());
    // A C major chord: x 3 2 0 1 0.
    const int frets[6] = {-1, 3, 2, 0, 1, 0};
    for (int s = 0; s < 6; ++s) {
        const qreal x = grid.left() + s * grid.width() / 5;
        if (frets[s] > 0) {
            const QPointF c(x, grid.top() + (frets[s] - 0.5) * grid.height() / 4);
            p.setPen(Qt::NoPen);
            p.setBrush(dome(c, 5, QColor(0x2F, 0x5B, 0xD8)));
            p.drawEllipse(c, 4.6, 4.6);
        } else {
            p.setPen(QPen(QColor(0x3A, 0x33, 0x2C), 1.2));
            p.setBrush(Qt::NoBrush);
            const QPointF c(x, grid.top() - 3.5);
            if (frets[s] == 0) {
                p.drawEllipse(c, 2.2, 2.2);
            } else {
                p.drawLine(c + QPointF(-2, -2), c + QPointF(2, 2));
                p.drawLine(c + QPointF(-2, 2), c + QPointF(2, -2));
            }
        }
    }
    glassSheen(p, kButtonSide);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// The style sheet's backgrounds and the menu arrow.

// The explorer's ground (also shown behind inactive menus): dark slate brushed along its width.
// Every row is one tone from edge to edge, so the tile repeats sideways without a seam.
void drawExplorerGround(QImage& image, int scale)
{
    QPainter p(&image);
    QLinearGradient ground(0, 0, 0, image.height());
    ground.setColorAt(0, QColor(0x2E, 0x31, 0x38));
    ground.setColorAt(0.5, QColor(0x1E, 0x20, 0x25));
    ground.setColorAt(1, QColor(0x12, 0x13, 0x16));
    p.fillRect(image.rect(), ground);
    QRandomGenerator rng(7);
    for (int y = 0; y < image.height(); y += 1) {
        const int a = rng.bounded(7);
        p.fillRect(QRect(0, y, image.width(), 1), rng.bounded(2) ? QColor(255, 255, 255, a) : QColor(0, 0, 0, a + 2));
    }
    Q_UNUSED(scale)
}

void drawDialogGround(QImage& image, int scale)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    stage(p, QRectF(image.rect()));
    Q_UNUSED(scale)
}

void drawMenuArrow(QImage& image, int scale)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QPainterPath arrow;
    arrow.moveTo(1, 2.5);
    arrow.lineTo(8, 2.5);
    arrow.lineTo(4.5, 7);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD3, 0xD3, 0xD3));
    p.drawPath(arrow);
}

struct FaceName
{
    Face face;
    const char* suffix;
};
constexpr FaceName kFaces[] = {{Face::Normal, ""}, {Face::Hover, "_hvr"}, {Face::Pressed, "_pressed"},
                               {Face::PressedHover, "_pressed_hvr"}};

} // namespace

IMAGEGEN_PRODUCER(drawTunerPictures)
{
    QList<int> rows;
    for (int i = 0; i < Tables::kTunerCount; ++i) {
        if (!drawingOf(QLatin1String(Tables::kTuners[i].name))) {
            std::fprintf(stderr, "imagegen: no drawing for the tuner %s\n", Tables::kTuners[i].name);
            sink.save(QString(), QImage());   // fails the run
        }
        rows << i;
    }
    QtConcurrent::blockingMap(rows, [&sink](int row) {
        const QString name = QLatin1String(Tables::kTuners[row].name);
        sink.save(name + QStringLiteral(".jpg"), pagePicture(name), 90);
        for (int scale : {1, 2}) {
            const ButtonInstrument instrument = buttonInstrument(name, scale);
            for (const FaceName& face : kFaces) {
                // The cello's normal face lies in a folder of its own.
                const QString file = (name == QLatin1String("Cello") && face.face == Face::Normal ? QStringLiteral("_resources/imgs/")
                                                                                                   : QString())
                    + name + QStringLiteral("Button") + QLatin1String(face.suffix) + QStringLiteral(".png");
                sink.save(scale == 1 ? file : ImageSink::withScale(file), buttonFace(instrument, face.face, scale));
            }
        }
    });
    for (const FaceName& face : {kFaces[0], kFaces[1], kFaces[2]}) {
        const QString file = QStringLiteral("HarmoluxButton") + QLatin1String(face.suffix) + QStringLiteral(".png");
        sink.save(file, harmoluxFace(face.face, 1));
        sink.save(ImageSink::withScale(file), harmoluxFace(face.face, 2));
    }
    sink.saveBoth(QStringLiteral("background.png"), QSize(64, 1600), drawExplorerGround);
    sink.saveBoth(QStringLiteral("aboutbackground.png"), QSize(900, 900), drawDialogGround);
    sink.saveBoth(QStringLiteral("spinbox_button_dw.png"), QSize(9, 9), drawMenuArrow);
}
