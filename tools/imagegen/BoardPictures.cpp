// The fretted boards (balalaika, banjo, mandolin, guitar, ukulele, violin, bass): the board
// pictures, one overlay per note and the two side pictures of each finder page. Everything is drawn
// from the tables the board widgets compile (RIRurud/BoardTables.h): strings run through the
// hot-spot centres, fret wires lie halfway between neighbouring spots and every overlay mark sits
// where a click answers its note, so what the user sees is what a click hits. What differs between
// the instruments (head, body, woods, strings, inlays) is one row of kLooks.
#include "BoardDrawing.h"
#include "ImageSink.h"
#include "Palette.h"

#include "RIRurud/BoardMarks.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/FinderTables.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <vector>

namespace {

using namespace imagegen;
using RIRurud::BoardTables::BoardTable;
using RIRurud::BoardTables::HotSpot;
using RIRurud::BoardTables::StringLine;
using RIRurud::BoardTables::fretWireX;

constexpr double kFrameW = RIRurud::BoardTables::kFrameWidth;
constexpr double kFrameH = RIRurud::BoardTables::kFrameHeight;

struct Look;

// ------------------------------------------------------------------------------------------------
// Geometry of one board, all in frame units.

struct Geometry
{
    const Look* look = nullptr;
    const BoardTable* table = nullptr;
    QVector<StringLine> strings;   // one per string (the banjo's last is the short string)
    int neckStrings = 0;           // the strings that run over the nut
    double nutX = 0;
    double endX = 0;               // where the fingerboard ends
    double edgeMargin = 8;

    double topEdge(double x) const { return strings.first().yAt(x) - edgeMargin; }
    // The neck's lower edge where no short string widens it.
    double neckBottom(double x) const { return strings.at(neckStrings - 1).yAt(x) + edgeMargin; }
    double bottomEdge(double x) const;
    double midY(double x) const { return (strings.first().yAt(x) + strings.at(neckStrings - 1).yAt(x)) / 2; }
};

// How the tuners leave the head: alternately up and down, the upper half of the strings up and the
// lower half down, or all up.
enum class Tuners { Alternate, Split, OneSide };

struct StringStyle
{
    double width;
    QRgb colour;
};

// One instrument's look.
struct Look
{
    const BoardTable* table;
    const RIRurud::FinderTables::FinderSpec* finder;
    int neckStrings;             // strings over the nut; the others start up the neck (banjo)
    double edgeMargin;           // neck edge beyond the outer strings
    double widensAt;             // where the neck widens for a short string (0: it does not)
    QRgb boardWood, boardWoodLight;
    QRgb headWood, headWoodLight;
    QPainterPath (*head)(double nut, double top, double bottom);
    double postsLeft;            // x of the post farthest from the nut
    double postsFromNut;         // distance of the nearest post from the nut
    Tuners tuners;
    bool pegs;                   // wooden pegs instead of machine heads
    void (*decorateHead)(QPainter&, const Geometry&);   // drawn over the head, or nullptr
    void (*body)(QPainter&, const Geometry&);           // behind the neck in the board picture
    double fingerboardEnd;       // 0: a little past the last fret wire
    bool fretWires;              // false: the stopped places are shown by thin tapes (violin)
    std::vector<int> inlays;     // frets with one dot
    int doubleInlay;             // fret with two dots (0: none)
    int inlayString;             // single dots lie between this string and the next
    int doubleUpper, doubleLower;
    double inlayRadius;
    std::vector<StringStyle> strings;   // over the nut, top first
    bool doubleCourses;          // two strings a little apart along each line (mandolin)
    // The right side picture: the body drawn by sideBody, the frame point sideCentre placed at the
    // picture point sideAt, sideScale picture units per frame unit, the bridge at bridgeX.
    void (*sideBody)(QPainter&, const Geometry&);
    QPointF sideCentre;
    QPointF sideAt;
    double sideScale;
    double bridgeX;
    double tailX;                // where the strings end past the bridge (a tailpiece), or at the bridge
};

double Geometry::bottomEdge(double x) const
{
    if (look->widensAt <= 0)
        return neckBottom(x);
    // The banjo's neck widens past the fifth fret to carry the short string.
    const double narrow = neckBottom(x);
    const double wide = strings.last().yAt(x) + edgeMargin - 1;
    const double t = qBound(0.0, (x - look->widensAt) / 22.0, 1.0);
    const double s = t * t * (3 - 2 * t);
    return narrow + (wide - narrow) * s;
}

Geometry geometryOf(const Look& look)
{
    const BoardTable& table = *look.table;
    Geometry g;
    g.look = &look;
    g.table = &table;
    for (int s = 0; s < table.stringCount; ++s) {
        StringLine line;
        // A string with a single marked spot (the banjo's short string) is fitted through all of
        // its spots, marked or not.
        if (!RIRurud::BoardTables::stringLine(table, s, &line))
            RIRurud::BoardTables::stringLine(table, s, &line, false);
        g.strings.append(line);
    }
    g.neckStrings = look.neckStrings;
    g.nutX = fretWireX(table, 0);
    g.endX = look.fingerboardEnd > 0 ? look.fingerboardEnd : fretWireX(table, table.fretSpotCount - 1) + 6;
    g.edgeMargin = look.edgeMargin;
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

// A body outline symmetric about the row y = mid, from its half-width at a few places along x (the
// first at the neck, the last 0 at the tail), joined by a smooth curve through them.
QPainterPath profileBody(double mid, const QVector<QPointF>& halfWidths)
{
    QVector<QPointF> side;
    const int n = halfWidths.size();
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF p0 = halfWidths.at(qMax(0, i - 1));
        const QPointF p1 = halfWidths.at(i);
        const QPointF p2 = halfWidths.at(i + 1);
        const QPointF p3 = halfWidths.at(qMin(n - 1, i + 2));
        for (int k = 0; k < 24; ++k) {
            // Catmull-Rom through the samples.
            const double t = k / 24.0;
            const double t2 = t * t, t3 = t2 * t;
            side.append(0.5 * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2
                               + (-p0 + 3 * p1 - 3 * p2 + p3) * t3));
        }
    }
    side.append(halfWidths.last());
    QPainterPath path;
    path.moveTo(side.first().x(), mid - side.first().y());
    for (const QPointF& s : qAsConst(side))
        path.lineTo(s.x(), mid - s.y());
    for (int i = side.size() - 1; i >= 0; --i)
        path.lineTo(side.at(i).x(), mid + side.at(i).y());
    path.closeSubpath();
    return path;
}

// A closed outline from its upper half (an open path from the neck to the tail, above the row
// y = mid) and that half mirrored below the row.
QPainterPath mirrored(const QPainterPath& upperHalf, double mid)
{
    QVector<QPointF> half;
    for (int i = 0; i <= 800; ++i)
        half.append(upperHalf.pointAtPercent(i / 800.0));
    QPainterPath path;
    path.moveTo(half.first());
    for (const QPointF& pt : qAsConst(half))
        path.lineTo(pt);
    for (int i = half.size() - 1; i >= 0; --i)
        path.lineTo(half.at(i).x(), 2 * mid - half.at(i).y());
    path.closeSubpath();
    return path;
}

// The edge of a body: a dark and a pale binding just inside the outline.
void binding(QPainter& p, const QPainterPath& body, const QColor& outer, const QColor& inner, double width)
{
    p.save();
    p.setClipPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outer, width * 2.2));
    p.drawPath(body);
    p.setPen(QPen(inner, width * 0.8));
    p.drawPath(body);
    p.restore();
}

// A sound hole with a rosette of rings.
void soundHole(QPainter& p, const QPointF& c, double r, double ring, const QColor& a, const QColor& b)
{
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(i % 2 ? a : b, ring / 6.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r + ring * (i + 0.5) / 6, r + ring * (i + 0.5) / 6);
    }
    QRadialGradient dark(c, r);
    dark.setColorAt(0, QColor(0x0A, 0x06, 0x04));
    dark.setColorAt(0.85, QColor(0x14, 0x0C, 0x07));
    dark.setColorAt(1, QColor(0x24, 0x16, 0x0C));
    p.setPen(QPen(QColor(0x10, 0x08, 0x04), 0.8));
    p.setBrush(dark);
    p.drawEllipse(c, r, r);
}

// ------------------------------------------------------------------------------------------------
// Heads: outlines from the nut (x = nut) to the tip, given the neck's edges at the nut.

QPainterPath balalaikaHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // A long paddle that flares a little toward its end.
    QPainterPath head;
    head.moveTo(nut + 2, top);
    head.cubicTo(nut - 40, top - 2, 40, mid - half - 10, 14, mid - half - 8);
    head.quadTo(4, mid, 14, mid + half + 8);
    head.cubicTo(40, mid + half + 10, nut - 40, bottom + 2, nut + 2, bottom);
    head.closeSubpath();
    return head;
}

QPainterPath banjoHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // A scalloped banjo peghead.
    QPainterPath head;
    head.moveTo(nut + 2, top);
    head.cubicTo(nut - 20, top - 1, 66, mid - half - 12, 44, mid - half - 14);
    head.quadTo(28, mid - half - 22, 14, mid - half - 8);
    head.quadTo(2, mid, 14, mid + half + 8);
    head.quadTo(28, mid + half + 22, 44, mid + half + 14);
    head.cubicTo(66, mid + half + 12, nut - 20, bottom + 1, nut + 2, bottom);
    head.closeSubpath();
    return head;
}

QPainterPath mandolinHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // An A-style mandolin paddle with a scroll-like tip.
    QPainterPath head;
    head.moveTo(nut + 2, top);
    head.cubicTo(nut - 40, top - 4, 110, mid - half - 14, 70, mid - half - 12);
    head.cubicTo(48, mid - half - 11, 40, mid - half + 4, 52, mid - 10);
    head.quadTo(34, mid, 52, mid + 10);
    head.cubicTo(40, mid + half - 4, 48, mid + half + 11, 70, mid + half + 12);
    head.cubicTo(110, mid + half + 14, nut - 40, bottom + 4, nut + 2, bottom);
    head.closeSubpath();
    return head;
}

QPainterPath guitarHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // A solid head a little wider than the neck, its end cut in a shallow point.
    QPainterPath head;
    head.moveTo(nut + 2, top);
    head.cubicTo(nut - 14, top - 1, nut - 22, mid - half - 6, nut - 34, mid - half - 7);
    head.lineTo(24, mid - half - 9);
    head.quadTo(14, mid - half - 9, 12, mid - half + 2);
    head.quadTo(20, mid, 12, mid + half - 2);
    head.quadTo(14, mid + half + 9, 24, mid + half + 9);
    head.lineTo(nut - 34, mid + half + 7);
    head.cubicTo(nut - 22, mid + half + 6, nut - 14, bottom + 1, nut + 2, bottom);
    head.closeSubpath();
    return head;
}

QPainterPath ukuleleHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // A short head with a crown at its end.
    QPainterPath head;
    head.moveTo(nut + 2, top);
    head.cubicTo(nut - 16, top - 2, nut - 30, mid - half - 4, nut - 46, mid - half - 4);
    head.lineTo(30, mid - half - 5);
    head.cubicTo(10, mid - half - 6, 18, mid - 14, 8, mid - 4);
    head.quadTo(18, mid, 8, mid + 4);
    head.cubicTo(18, mid + 14, 10, mid + half + 6, 30, mid + half + 5);
    head.lineTo(nut - 46, mid + half + 4);
    head.cubicTo(nut - 30, mid + half + 4, nut - 16, bottom + 2, nut + 2, bottom);
    head.closeSubpath();
    return head;
}

QPainterPath violinHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // The pegbox narrowing from the nut, ending in the scroll.
    QPainterPath head;
    head.moveTo(nut + 2, top + 2);
    head.cubicTo(nut - 40, top + 4, 110, mid - half * 0.78, 78, mid - half * 0.72);
    head.cubicTo(58, mid - half * 0.7, 30, mid - half * 1.05, 14, mid - half * 0.6);
    head.cubicTo(2, mid - half * 0.2, 2, mid + half * 0.2, 14, mid + half * 0.6);
    head.cubicTo(30, mid + half * 1.05, 58, mid + half * 0.7, 78, mid + half * 0.72);
    head.cubicTo(110, mid + half * 0.78, nut - 40, bottom - 4, nut + 2, bottom - 2);
    head.closeSubpath();
    return head;
}

QPainterPath bassHead(double nut, double top, double bottom)
{
    const double mid = (top + bottom) / 2, half = (bottom - top) / 2;
    // A long head with all four tuners along its upper side, widening toward its rounded end.
    QPainterPath head;
    head.moveTo(nut + 2, top);
    head.cubicTo(nut - 10, top - 1, nut - 18, mid - half - 3, nut - 26, mid - half - 9);
    head.cubicTo(nut - 40, mid - half - 20, 40, mid - half - 22, 16, mid - half - 20);
    head.cubicTo(2, mid - half - 18, -2, mid - half + 8, 4, mid + 4);
    head.cubicTo(8, mid + half * 0.7, 18, mid + half + 3, 38, mid + half + 2);
    head.cubicTo(nut - 40, mid + half + 1, nut - 14, bottom + 1, nut + 2, bottom);
    head.closeSubpath();
    return head;
}

// The violin's scroll: a carved spiral over the end of the pegbox.
void violinScroll(QPainter& p, const Geometry& g)
{
    const double mid = g.midY(0) + 0.5;
    const QPointF c(30, mid);
    QPainterPath spiral;
    for (int i = 0; i <= 120; ++i) {
        const double a = i * 0.11;
        const double r = 21 * qExp(-a * 0.19);
        const QPointF pt = c + QPointF(r * qCos(a + 0.4), r * qSin(a + 0.4) * 1.15);
        if (i == 0)
            spiral.moveTo(pt);
        else
            spiral.lineTo(pt);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 120), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(spiral.translated(0.5, 0.8));
    p.setPen(QPen(QColor(0xF0, 0xB0, 0x70, 120), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(spiral);
    QRadialGradient eye(c + QPointF(1, 1), 4);
    eye.setColorAt(0, QColor(0x90, 0x50, 0x20));
    eye.setColorAt(1, QColor(0x40, 0x1C, 0x08));
    p.setPen(Qt::NoPen);
    p.setBrush(eye);
    p.drawEllipse(c + QPointF(1.5, 1.5), 3.5, 3.5);
    // The dark well of the pegbox where the strings wind.
    const double right = g.nutX - 6;
    QPainterPath well;
    well.moveTo(right, g.topEdge(right) + 6);
    well.cubicTo(right - 40, g.topEdge(right) + 8, 100, mid - 14, 62, mid - 10);
    well.quadTo(54, mid, 62, mid + 10);
    well.cubicTo(100, mid + 14, right - 40, g.neckBottom(right) - 8, right, g.neckBottom(right) - 6);
    well.closeSubpath();
    QLinearGradient shade(QPointF(0, mid - 20), QPointF(0, mid + 20));
    shade.setColorAt(0, QColor(0x1A, 0x0C, 0x04));
    shade.setColorAt(0.5, QColor(0x30, 0x18, 0x08));
    shade.setColorAt(1, QColor(0x14, 0x08, 0x02));
    p.setBrush(shade);
    p.drawPath(well);
}

// ------------------------------------------------------------------------------------------------
// Instrument parts. Each draws in frame units of the board picture; the side pictures reuse them
// under a transform of their own.

// Where the tuner post of string s stands: spread along the head, the strings reach them along
// their own lines.
QVector<QPointF> tunerPosts(const Geometry& g, bool* upwards)
{
    const Look& look = *g.look;
    const int n = g.neckStrings;
    const double right = g.nutX - look.postsFromNut;
    const double left = look.postsLeft;
    QVector<QPointF> posts;
    for (int s = 0; s < n; ++s) {
        double x = right;
        switch (look.tuners) {
        case Tuners::Alternate:
            x = n == 1 ? right : left + (right - left) * (n - 1 - s) / (n - 1);
            upwards[s] = s % 2 == 0;
            break;
        case Tuners::Split: {
            // The outer strings go to the posts nearest the nut.
            const int half = (n + 1) / 2;
            const int k = s < half ? s : n - 1 - s;
            x = right - (right - left) * k / qMax(1, half - 1);
            upwards[s] = s < half;
            break;
        }
        case Tuners::OneSide:
            x = right - (right - left) * s / qMax(1, n - 1);
            upwards[s] = true;
            break;
        }
        posts.append(QPointF(x, g.strings.at(s).yAt(x)));
    }
    return posts;
}

// A machine head's shaft and button, or a violin peg, from the post out of the head's side.
void drawTuner(QPainter& p, const Look& look, const QPainterPath& head, const QPointF& post, bool up)
{
    double edge = post.y();
    while (head.contains(QPointF(post.x(), edge)) && qAbs(edge - post.y()) < 80)
        edge += up ? -0.5 : 0.5;
    const double dir = up ? -1 : 1;
    if (look.pegs) {
        // An ebony peg: a tapered shaft, a collar and a flat thumb piece.
        const QPointF tip(post.x(), edge + dir * 13);
        QPainterPath shaft;
        shaft.moveTo(post.x() - 1.5, edge - dir * 2);
        shaft.lineTo(post.x() + 1.5, edge - dir * 2);
        shaft.lineTo(post.x() + 2.3, tip.y() - dir * 5);
        shaft.lineTo(post.x() - 2.3, tip.y() - dir * 5);
        shaft.closeSubpath();
        p.setPen(QPen(QColor(0x08, 0x06, 0x05), 0.4));
        p.setBrush(QColor(0x22, 0x1A, 0x16));
        p.drawPath(shaft);
        p.setBrush(palette::bone().darker(115));
        p.drawEllipse(QPointF(post.x(), edge + dir * 1.2), 3.0, 1.1);
        QPainterPath thumb;
        thumb.addEllipse(tip, 6.6, 6.2);
        QLinearGradient ebony(tip - QPointF(6, 0), tip + QPointF(6, 0));
        ebony.setColorAt(0, QColor(0x10, 0x0C, 0x0A));
        ebony.setColorAt(0.45, QColor(0x4A, 0x40, 0x3A));
        ebony.setColorAt(1, QColor(0x0C, 0x08, 0x06));
        p.setBrush(ebony);
        p.drawPath(thumb);
        p.setBrush(palette::bone());
        p.drawEllipse(tip, 1.2, 1.2);
        return;
    }
    const QPointF key(post.x(), edge + dir * 9.5);
    QLinearGradient shaft(QPointF(post.x() - 1.2, 0), QPointF(post.x() + 1.2, 0));
    shaft.setColorAt(0, palette::fretSilver().darker(160));
    shaft.setColorAt(0.5, QColor(0xF0, 0xF1, 0xF2));
    shaft.setColorAt(1, palette::fretSilver().darker(170));
    p.setPen(Qt::NoPen);
    p.setBrush(shaft);
    p.drawRect(QRectF(post.x() - 1.1, qMin(post.y(), key.y()), 2.2, qAbs(key.y() - post.y())));
    // The gear housing where the shaft leaves the head.
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

// The head left of the nut, with its tuners; returns the posts the strings end at.
QVector<QPointF> drawHeadstock(QPainter& p, const Geometry& g)
{
    const Look& look = *g.look;
    const double nut = g.nutX;
    const QPainterPath head = look.head(nut, g.topEdge(nut), g.neckBottom(nut));
    bool up[8] = {};
    const QVector<QPointF> posts = tunerPosts(g, up);
    // The tuners first, so that they come out from under the head.
    for (int s = 0; s < posts.size(); ++s)
        drawTuner(p, look, head, posts.at(s), up[s]);
    softShadow(p, head, QPointF(1.5, 3));
    woodGrain(p, head, head.boundingRect().adjusted(-2, -2, 2, 2), QColor(look.headWood), QColor(look.headWoodLight),
              11 + g.neckStrings, 1.6);
    p.setPen(QPen(QColor(0x1A, 0x10, 0x0A), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
    // A pale binding just inside the edge.
    p.save();
    p.setClipPath(head);
    p.setPen(QPen(QColor(0xF1, 0xE9, 0xD2, look.pegs ? 40 : 110), 0.8));
    p.drawPath(head);
    p.restore();
    if (look.decorateHead)
        look.decorateHead(p, g);
    if (look.pegs) {
        // The pegs pass through the pegbox: a small dark hole where each string winds.
        for (const QPointF& post : posts) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x3A, 0x26, 0x18));
            p.drawEllipse(post, 2.4, 2.4);
        }
        return posts;
    }
    // Post bushings on the face.
    for (const QPointF& post : posts) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawEllipse(post + QPointF(0.4, 0.8), 3.8, 3.8);
        metalDisc(p, post, 3.4);
    }
    for (const QPointF& post : posts)
        metalDisc(p, post, 2.6);
    return posts;
}

// The nut: a bone bar across the neck.
void drawNut(QPainter& p, const Geometry& g)
{
    const double x = g.nutX;
    const double top = g.topEdge(x) - 0.5;
    const double bottom = g.neckBottom(x) + 0.5;
    QRectF nut(x - 2.4, top, 4.8, bottom - top);
    QLinearGradient grad(nut.topLeft(), nut.topRight());
    const QColor colour = g.look->pegs ? QColor(0x1C, 0x16, 0x12) : palette::bone();
    grad.setColorAt(0, colour.darker(120));
    grad.setColorAt(0.4, g.look->pegs ? QColor(0x4A, 0x40, 0x38) : QColor(0xFF, 0xFB, 0xEE));
    grad.setColorAt(1, colour.darker(110));
    p.setPen(QPen(QColor(0x6A, 0x5A, 0x40), 0.35));
    p.setBrush(grad);
    p.drawRoundedRect(nut, 1, 1);
}

void drawFretboard(QPainter& p, const Geometry& g)
{
    const Look& look = *g.look;
    const BoardTable& table = *g.table;
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
    woodGrain(p, board, QRectF(from, 20, to - from, 160), QColor(look.boardWood), QColor(look.boardWoodLight),
              3 + quint32(table.spotCount), 1.1);
    // Edge highlight, so the neck stands out of the background.
    p.setPen(QPen(QColor(255, 230, 200, 55), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(board);
    // The end of the fingerboard.
    p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
    p.drawLine(QPointF(to, g.topEdge(to)), QPointF(to, g.bottomEdge(to)));

    // Inlays: pearl dots in the usual places, between the middle strings.
    const int n = int(table.fretSpotCount);
    const auto between = [&](int s, double x) { return (g.strings.at(s).yAt(x) + g.strings.at(s + 1).yAt(x)) / 2; };
    const auto fretMiddle = [&](int f) { return (fretWireX(table, f - 1) + fretWireX(table, f)) / 2; };
    for (int f : look.inlays) {
        if (f < n)
            pearlDot(p, QPointF(fretMiddle(f), between(look.inlayString, fretMiddle(f))), look.inlayRadius);
    }
    if (look.doubleInlay > 0 && look.doubleInlay < n) {
        const double x = fretMiddle(look.doubleInlay);
        pearlDot(p, QPointF(x, between(look.doubleUpper, x)), look.inlayRadius);
        pearlDot(p, QPointF(x, between(look.doubleLower, x)), look.inlayRadius);
    }

    for (int k = 1; k < n; ++k) {
        const double x = fretWireX(table, k);
        const double t = g.topEdge(x) + 0.3;
        const double b = g.bottomEdge(x) - 0.3;
        if (!look.fretWires) {
            // A fretless board: a thin pale tape across it at each stopped place.
            const double place = table.fretSpots[k];
            p.setPen(QPen(QColor(0xF4, 0xEE, 0xDC, 120), 2.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(place, g.topEdge(place) + 0.8), QPointF(place, g.bottomEdge(place) - 0.8));
            continue;
        }
        // Fret wires: a dark slot, the wire and its highlight.
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

// The strings over the nut from their posts to `to`.
void drawStrings(QPainter& p, const Geometry& g, const QVector<QPointF>& posts, double to, double widthFactor = 1)
{
    const Look& look = *g.look;
    for (int s = 0; s < g.neckStrings; ++s) {
        const StringStyle& style = look.strings.at(std::size_t(s));
        const double from = posts.isEmpty() ? g.nutX - 40 : posts.at(s).x();
        const double width = style.width * widthFactor;
        if (look.doubleCourses) {
            drawString(p, g.strings.at(s), from, to, width, QColor(style.colour), -1.5);
            drawString(p, g.strings.at(s), from, to, width, QColor(style.colour), +1.5);
        } else {
            drawString(p, g.strings.at(s), from, to, width, QColor(style.colour));
        }
    }
}

// A short string that starts up the neck (the banjo's fifth): its peg at the side of the neck at the
// first of its spots.
void drawShortString(QPainter& p, const Geometry& g, double to)
{
    if (g.neckStrings >= g.strings.size())
        return;
    const int s = g.neckStrings;
    const StringLine& line = g.strings.at(s);
    double pegX = kFrameW;
    for (std::size_t i = 0; i < g.table->spotCount; ++i) {
        if (g.table->spots[i].string == s)
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
    drawString(p, line, peg.x(), to, 0.85, QColor(0xDD, 0xE0, 0xE3));
    metalDisc(p, peg, 2.3);
}

// ------------------------------------------------------------------------------------------------
// Bodies, in frame units: the neck runs along x, the body lies to its right. Each is drawn whole,
// so the side pictures can show it; the board picture shows the part next to the neck.

// Balalaika: the triangular soundboard, its edge binding and a quarter of the rosette.
void balalaikaBody(QPainter& p, const Geometry& g)
{
    const double start = 640;
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
    binding(p, body, QColor(0x3A, 0x22, 0x14), palette::bone(), 1.45);
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

void banjoBody(QPainter& p, const Geometry&)
{
    drawBanjoDrum(p, QPointF(952, 96), 200);
}

void banjoSideBody(QPainter& p, const Geometry&)
{
    drawBanjoDrum(p, QPointF(905, 96), 138);
}

// Mandolin: the body with its sunburst, binding and oval sound hole.
void mandolinBody(QPainter& p, const Geometry& g)
{
    const double start = 575;
    const QPointF hole(758, 96);
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
    binding(p, body, palette::bone(), QColor(0x20, 0x10, 0x08), 1.1);
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

// A spruce or koa top with its grain along the strings, binding, a rosette round the sound hole and
// the bridge: the guitar and the ukulele.
void flatTopBody(QPainter& p, const QPainterPath& body, const QColor& wood, const QColor& light, quint32 seed,
                 const QPointF& hole, double holeRadius, double bridgeX, double bridgeHalf)
{
    softShadow(p, body, QPointF(2.5, 4), 8, 0.09);
    const QRectF area = body.boundingRect().adjusted(-2, -2, 2, 2);
    woodGrain(p, body, area, wood, light, seed, 1.8);
    // A soft sheen across the top.
    p.save();
    p.setClipPath(body);
    QRadialGradient sheen(hole + QPointF(-holeRadius, -holeRadius * 1.4), area.height() * 0.8);
    sheen.setColorAt(0, QColor(255, 250, 235, 40));
    sheen.setColorAt(1, QColor(0, 0, 0, 40));
    p.fillRect(area, sheen);
    p.restore();
    binding(p, body, QColor(0x2A, 0x16, 0x0A), palette::bone(), 1.6);
    soundHole(p, hole, holeRadius, holeRadius * 0.3, QColor(0x3A, 0x22, 0x12), palette::bone().darker(105));
    // The bridge with its saddle.
    QPainterPath bridge;
    bridge.addRoundedRect(QRectF(bridgeX - 14, hole.y() - bridgeHalf, 30, 2 * bridgeHalf), 8, 8);
    softShadow(p, bridge, QPointF(1, 2));
    woodGrain(p, bridge, bridge.boundingRect(), palette::rosewood(), palette::rosewoodLight(), seed + 1, 1.2);
    p.setPen(QPen(QColor(0x10, 0x08, 0x04), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bridge);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::bone());
    p.drawRoundedRect(QRectF(bridgeX - 1.8, hole.y() - bridgeHalf * 0.82, 3.6, bridgeHalf * 1.64), 1.5, 1.5);
}

void guitarBody(QPainter& p, const Geometry& g)
{
    const double mid = g.midY(587);
    const double neck = (g.neckBottom(587) - g.topEdge(587)) / 2;
    const QPainterPath body = profileBody(mid, {{585, neck}, {600, neck + 55}, {640, 135}, {690, 150}, {760, 140},
                                                {810, 126}, {880, 150}, {960, 192}, {1040, 180}, {1080, 120},
                                                {1094, 60}, {1097, 0}});
    flatTopBody(p, body, QColor(0xD9, 0xB2, 0x74), QColor(0xEE, 0xD2, 0x9A), 61, QPointF(838, mid), 47, 941, 78);
}

void ukuleleBody(QPainter& p, const Geometry& g)
{
    const double mid = g.midY(586);
    const double neck = (g.neckBottom(586) - g.topEdge(586)) / 2;
    const QPainterPath body = profileBody(mid, {{582, neck}, {596, neck + 55}, {640, 170}, {700, 182}, {790, 165},
                                                {860, 146}, {950, 190}, {1060, 214}, {1140, 180}, {1190, 110},
                                                {1204, 50}, {1206, 0}});
    flatTopBody(p, body, QColor(0xA8, 0x62, 0x2C), QColor(0xD0, 0x8A, 0x48), 67, QPointF(762, mid), 64, 1051, 92);
}

// Violin: the varnished top of the upper bouts with its purfling, the f-holes and the bridge.
void violinBody(QPainter& p, const Geometry& g)
{
    const double mid = g.midY(620);
    // Upper bout, a corner, the C-bout, a corner, the lower bout and the tail.
    QPainterPath upper;
    upper.moveTo(612, mid - 30);
    upper.cubicTo(612, mid - 120, 640, mid - 196, 700, mid - 203);
    upper.cubicTo(790, mid - 214, 880, mid - 196, 904, mid - 172);
    upper.lineTo(928, mid - 164);
    upper.lineTo(918, mid - 148);
    upper.cubicTo(940, mid - 114, 990, mid - 110, 1004, mid - 148);
    upper.lineTo(996, mid - 170);
    upper.lineTo(1022, mid - 186);
    upper.cubicTo(1060, mid - 230, 1130, mid - 260, 1240, mid - 256);
    upper.cubicTo(1380, mid - 250, 1493, mid - 150, 1493, mid);
    const QPainterPath body = mirrored(upper, mid);
    softShadow(p, body, QPointF(2.5, 4), 8, 0.09);
    const QRectF area = body.boundingRect().adjusted(-2, -2, 2, 2);
    woodGrain(p, body, area, QColor(0xB0, 0x50, 0x1A), QColor(0xE0, 0x8C, 0x3C), 71, 1.5);
    p.save();
    p.setClipPath(body);
    QRadialGradient varnish(QPointF(1020, mid - 40), 420);
    varnish.setColorAt(0, QColor(255, 200, 120, 70));
    varnish.setColorAt(0.6, QColor(0, 0, 0, 0));
    varnish.setColorAt(1, QColor(40, 10, 0, 120));
    p.fillRect(area, varnish);
    p.restore();
    // The edge and the purfling: two dark lines a little inside it.
    binding(p, body, QColor(0x5A, 0x22, 0x08), QColor(0xE8, 0xA0, 0x60, 160), 1.3);
    p.save();
    p.setClipPath(body);
    QPainterPathStroker stroker;
    stroker.setWidth(12);
    const QPainterPath inner = body.subtracted(stroker.createStroke(body));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x20, 0x0C, 0x02, 200), 0.9));
    p.drawPath(inner);
    p.restore();
    // f-holes on either side of the bridge.
    for (int side : {-1, 1}) {
        QPainterPath f;
        const double y0 = mid + side * 84;
        f.moveTo(950, y0 + side * 10);
        f.cubicTo(995, y0 + side * 26, 1040, y0 - side * 22, 1100, y0 - side * 4);
        QPainterPathStroker s;
        s.setWidth(3.2);
        s.setCapStyle(Qt::RoundCap);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x14, 0x06, 0x02));
        p.drawPath(s.createStroke(f));
        p.drawEllipse(QPointF(950, y0 + side * 10), 4.5, 4.5);
        p.drawEllipse(QPointF(1100, y0 - side * 4), 4.5, 4.5);
    }
    // The bridge, standing on its two feet.
    QPainterPath bridge;
    bridge.addRoundedRect(QRectF(1018, mid - 58, 8, 116), 2, 2);
    softShadow(p, bridge, QPointF(1.5, 2.5));
    p.setPen(QPen(QColor(0x6A, 0x48, 0x20), 0.5));
    p.setBrush(QColor(0xE6, 0xCC, 0x98));
    p.drawPath(bridge);
}

// Bass: a solid body with two horns, a sunburst finish, a pickguard, the split pickup and the bridge.
void bassBody(QPainter& p, const Geometry& g)
{
    const double mid = 86;
    const double top = g.topEdge(704);
    const double bottom = g.neckBottom(704);
    QPainterPath body;
    body.moveTo(704, top);
    // The cutaway and the long upper horn beside the neck.
    body.cubicTo(692, 30, 668, 18, 640, 16);
    body.cubicTo(618, 15, 604, 2, 612, -14);
    body.cubicTo(624, -40, 660, -58, 720, -80);
    // Upper bout, waist and lower bout to the rounded end.
    body.cubicTo(780, -104, 860, -100, 930, -76);
    body.cubicTo(990, -56, 1050, -126, 1140, -130);
    body.cubicTo(1230, -134, 1268, -40, 1268, mid);
    body.cubicTo(1268, 212, 1226, 304, 1136, 300);
    body.cubicTo(1050, 296, 1000, 236, 930, 244);
    // The short lower horn and back to the neck.
    body.cubicTo(860, 252, 790, 262, 744, 236);
    body.cubicTo(712, 218, 700, 196, 708, 172);
    body.cubicTo(714, 150, 700, bottom + 16, 704, bottom);
    body.closeSubpath();
    softShadow(p, body, QPointF(2.5, 4), 8, 0.09);
    const QRectF area = body.boundingRect();
    p.save();
    p.setClipPath(body);
    QRadialGradient burst(QPointF(1020, mid), 300);
    burst.setColorAt(0, QColor(0xF2, 0xBC, 0x54));
    burst.setColorAt(0.5, QColor(0xC8, 0x6A, 0x1C));
    burst.setColorAt(0.78, QColor(0x6A, 0x18, 0x08));
    burst.setColorAt(1, QColor(0x16, 0x06, 0x02));
    p.fillRect(area, burst);
    p.restore();
    woodGrain(p, body, area, QColor(0, 0, 0, 0), QColor(255, 230, 190, 30), 77, 3.0);
    binding(p, body, QColor(0, 0, 0, 110), QColor(255, 240, 220, 70), 0.9);
    // The pickguard follows the edge a little inside it, round the neck's end and the pickup.
    QPainterPathStroker inset;
    inset.setWidth(26);
    QPainterPath reach;
    reach.addEllipse(QPointF(760, mid), 190, 250);
    const QPainterPath guard = body.subtracted(inset.createStroke(body)).intersected(reach);
    softShadow(p, guard, QPointF(0.8, 1.5), 3, 0.14);
    QLinearGradient pearl(area.topLeft(), area.bottomRight());
    pearl.setColorAt(0, QColor(0xFA, 0xF6, 0xEA));
    pearl.setColorAt(1, QColor(0xE4, 0xDC, 0xC8));
    p.setPen(QPen(QColor(0x22, 0x1C, 0x18), 1.2));
    p.setBrush(pearl);
    p.drawPath(guard);
    for (const QPointF& screw : {QPointF(650, 12), QPointF(760, -58), QPointF(900, -30), QPointF(900, 200),
                                 QPointF(760, 225)})
        metalDisc(p, screw, 1.7);
    // The split pickup: one half under the E and A strings, the other under the D and G strings.
    for (int half = 0; half < 2; ++half) {
        const double x = half ? 872 : 902;
        const double a = g.strings.at(half ? 0 : 2).yAt(x);
        const double b = g.strings.at(half ? 1 : 3).yAt(x);
        const QRectF cover(x - 11, qMin(a, b) - 9, 22, qAbs(b - a) + 18);
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 0.6));
        p.setBrush(QColor(0x14, 0x14, 0x14));
        p.drawRoundedRect(cover, 6, 6);
        for (double y : {a, b})
            metalDisc(p, QPointF(x, y), 2.3);
    }
    // The bridge with its four saddles.
    p.setPen(QPen(QColor(0x40, 0x40, 0x44), 0.6));
    QLinearGradient plate(QPointF(1030, 0), QPointF(1070, 0));
    plate.setColorAt(0, palette::fretSilver().darker(130));
    plate.setColorAt(0.5, QColor(0xF2, 0xF3, 0xF4));
    plate.setColorAt(1, palette::fretSilver().darker(150));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(1030, 22, 40, 128), 3, 3);
    for (int s = 0; s < 4; ++s)
        metalDisc(p, QPointF(1044, g.strings.at(s).yAt(1044)), 3.2);
}

// ------------------------------------------------------------------------------------------------
// The instruments.

using RIRurud::BoardTables::kBalalaika;
using RIRurud::BoardTables::kBanjo;
using RIRurud::BoardTables::kBass;
using RIRurud::BoardTables::kGuitar;
using RIRurud::BoardTables::kMandolin;
using RIRurud::BoardTables::kUkulele;
using RIRurud::BoardTables::kViolin;
namespace finder = RIRurud::FinderTables;

constexpr QRgb kSteel = 0xFFDDE0E3;
constexpr QRgb kBronze = 0xFFE3D6B0;
constexpr QRgb kNylon = 0xFFF2EAD6;
constexpr QRgb kSilverWound = 0xFFC8CCD0;
constexpr QRgb kGut = 0xFFD8B878;
constexpr QRgb kRosewood = 0xFF4A2C1D;
constexpr QRgb kRosewoodLight = 0xFF6B432C;
constexpr QRgb kEbony = 0xFF1E1814;
constexpr QRgb kEbonyLight = 0xFF3A302A;

const Look kLooks[] = {
    {&kBalalaika, &finder::kBalalaika, 3, 9, 0, kRosewood, kRosewoodLight, 0xFF3F2619, kRosewoodLight,
     balalaikaHead, 28, 48, Tuners::Alternate, false, nullptr, balalaikaBody, 0, true,
     {3, 5, 7, 10, 15, 17}, 12, 0, 0, 1, 2.6,
     {{0.9, kSteel}, {1.2, kBronze}, {1.2, kBronze}}, false,
     balalaikaBody, {858, 97}, {100, 170}, 0.56, 945, 1005},
    {&kBanjo, &finder::kBanjo, 4, 7.5, 282, kRosewood, kRosewoodLight, 0xFF3F2619, kRosewoodLight,
     banjoHead, 26, 38, Tuners::Alternate, false, nullptr, banjoBody, 0, true,
     {3, 5, 7, 10, 15, 17, 19, 22}, 12, 1, 0, 2, 2.2,
     {{0.85, kSteel}, {0.95, kSteel}, {1.05, kSteel}, {1.35, kBronze}}, false,
     banjoSideBody, {905, 96}, {100, 170}, 0.62, 960, 1020},
    {&kMandolin, &finder::kMandolin, 4, 9, 0, kRosewood, kRosewoodLight, 0xFF3F2619, kRosewoodLight,
     mandolinHead, 70, 42, Tuners::Alternate, false, nullptr, mandolinBody, 0, true,
     {3, 5, 7, 10, 15}, 12, 1, 0, 2, 2.6,
     {{0.65, kSteel}, {0.82, kSteel}, {0.99, kBronze}, {1.16, kBronze}}, true,
     mandolinBody, {758, 96}, {100, 150}, 0.56, 880, 940},
    {&kGuitar, &finder::kGuitar, 6, 9, 0, kRosewood, kRosewoodLight, 0xFF3F2619, kRosewoodLight,
     guitarHead, 36, 34, Tuners::Split, false, nullptr, guitarBody, 0, true,
     {3, 5, 7, 9, 15, 17, 19, 21}, 12, 2, 1, 3, 2.6,
     {{0.8, kSteel}, {0.95, kSteel}, {1.2, kBronze}, {1.4, kBronze}, {1.6, kBronze}, {1.8, kBronze}}, false,
     guitarBody, {850, 111}, {100, 150}, 0.48, 941, 950},
    {&kUkulele, &finder::kUkulele, 4, 10, 0, kRosewood, kRosewoodLight, 0xFF6A3A18, 0xFF8C5228,
     ukuleleHead, 44, 42, Tuners::Split, false, nullptr, ukuleleBody, 0, true,
     {5, 7, 10, 15}, 12, 1, 0, 2, 2.8,
     {{1.1, kNylon}, {1.25, kNylon}, {1.4, kNylon}, {1.15, kNylon}}, false,
     ukuleleBody, {890, 104}, {100, 165}, 0.42, 1051, 1060},
    {&kViolin, &finder::kViolin, 4, 8, 0, kEbony, kEbonyLight, 0xFF8A3A10, 0xFFC0662A,
     violinHead, 96, 40, Tuners::Split, true, violinScroll, violinBody, 830, false,
     {}, 0, 0, 0, 0, 0,
     {{0.7, kSteel}, {0.9, kGut}, {1.05, kSilverWound}, {1.25, kSilverWound}}, false,
     violinBody, {1060, 86}, {100, 178}, 0.34, 1022, 1190},
    {&kBass, &finder::kBass, 4, 9, 0, kRosewood, kRosewoodLight, 0xFFC89858, 0xFFE2B878,
     bassHead, 18, 30, Tuners::OneSide, false, nullptr, bassBody, 0, true,
     {3, 5, 7, 9, 15, 17, 19}, 12, 1, 0, 2, 3.0,
     {{1.5, kSteel}, {1.8, kSteel}, {2.1, kSteel}, {2.4, kSteel}}, false,
     bassBody, {960, 86}, {100, 165}, 0.38, 1044, 1062},
};

const Look& lookOf(const BoardTable& table)
{
    for (const Look& look : kLooks) {
        if (look.table == &table)
            return look;
    }
    return kLooks[0];
}

// ------------------------------------------------------------------------------------------------
// Whole pictures.

QImage boardPicture(const Look& look)
{
    const Geometry g = geometryOf(look);
    QImage image(kBoardPictureWidth, kBoardPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kBoardPictureWidth / kFrameW, kBoardPictureHeight / kFrameH);
    feltBackground(p, QRectF(0, 0, kFrameW, kFrameH));
    look.body(p, g);
    const QVector<QPointF> posts = drawHeadstock(p, g);
    drawFretboard(p, g);
    drawNut(p, g);
    drawShortString(p, g, kFrameW + 2);
    drawStrings(p, g, posts, kFrameW + 2);
    return image;
}

// One note's overlay: a mark where each marked spot of that note answers (BoardMarks.h), nothing
// else. Bars are left out: the boards draw them on the screen's own pixels.
QImage overlayPicture(const BoardTable& table, const QString& layer)
{
    QImage image(kBoardPictureWidth, kBoardPictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kBoardPictureWidth / kFrameW, kBoardPictureHeight / kFrameH);
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        const HotSpot& spot = table.spots[i];
        QString note = QString::fromLatin1(spot.note);
        const QString form = note.endsWith('#') ? note.left(1) + "d" + note.mid(1, 1) : note;
        if (!spot.marked || form != layer)
            continue;
        const RIRurud::BoardMarks::MarkPlace mark = RIRurud::BoardMarks::markPlace(table, i);
        if (!mark.bar)
            positionMark(p, QPointF(mark.x, mark.y), mark.rx, mark.ry);
    }
    return image;
}

// Side pictures: details of the instrument in the same design, portrait, the motif near the top
// left (the label covers its area and cuts off what overflows at the right and the bottom).
QImage sidePicture(const Look& look, bool left)
{
    const Geometry g = geometryOf(look);
    QImage image;
    QPainter p;
    sideCanvas(p, image);

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
        // The head with its tuners, tip at the top, the nut and first frets below.
        const double k = qBound(1.0, 170.0 / g.nutX, 1.5);
        place(QPointF(0, g.midY(0)), QPointF(100, 22), k);
        const QVector<QPointF> posts = drawHeadstock(p, g);
        drawFretboard(p, g);
        drawNut(p, g);
        drawShortString(p, g, kFrameW + 2);
        drawStrings(p, g, posts, kFrameW + 2);
    } else {
        // The body with its bridge, the neck coming in from the top.
        place(look.sideCentre, look.sideAt, look.sideScale);
        look.sideBody(p, g);
        drawFretboard(p, g);
        const double bridgeX = look.bridgeX;
        const double top = g.strings.first().yAt(bridgeX) - 7;
        const double bottom = g.strings.last().yAt(bridgeX) + 7;
        drawStrings(p, g, {}, look.tailX, 1.4);
        drawShortString(p, g, look.tailX);
        QRectF saddle(bridgeX - 4, top, 8, bottom - top);
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
    const Look& look = lookOf(table);
    const QString name = QString::fromLatin1(table.name);
    sink.save(name + "_0@2x.jpg", boardPicture(look), 93);
    for (std::size_t i = 0; i < table.layerCount; ++i) {
        const QString layer = QString::fromLatin1(table.layerNames[i]);
        sink.save(name + "_" + layer + "@2x.png", overlayPicture(table, layer));
    }
}

} // namespace

// One producer per board, so that they draw in parallel.
IMAGEGEN_PRODUCER(drawBalalaikaBoard) { drawBoard(sink, kBalalaika); }
IMAGEGEN_PRODUCER(drawBanjoBoard) { drawBoard(sink, kBanjo); }
IMAGEGEN_PRODUCER(drawMandolinBoard) { drawBoard(sink, kMandolin); }
IMAGEGEN_PRODUCER(drawGuitarBoard) { drawBoard(sink, kGuitar); }
IMAGEGEN_PRODUCER(drawUkuleleBoard) { drawBoard(sink, kUkulele); }
IMAGEGEN_PRODUCER(drawViolinBoard) { drawBoard(sink, kViolin); }
IMAGEGEN_PRODUCER(drawBassBoard) { drawBoard(sink, kBass); }

IMAGEGEN_PRODUCER(drawFretSidePictures)
{
    for (const Look& look : kLooks) {
        sink.save(QString::fromLatin1(look.finder->leftPicture).mid(2), sidePicture(look, true), 92);
        sink.save(QString::fromLatin1(look.finder->rightPicture).mid(2), sidePicture(look, false), 92);
    }
}
