// The metronome's pictures: the eight faces (a wooden pyramid metronome with a face plate, eyes
// and a pendulum, all on one canvas: the overlays are the face plate and the pendulum window cut
// out of the whole scene, so that they cover the base face exactly) and the faces of the controls
// that the metronome style sheet names.
#include "ImageSink.h"
#include "Palette.h"
#include "Shapes.h"

#include "RIRurud/MetronomeFaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

using namespace imagegen;
namespace pal = imagegen::palette;
namespace MF = RIRurud::MetronomeFaces;

constexpr qreal kW = MF::kCanvasWidth;
constexpr qreal kH = MF::kCanvasHeight;
constexpr qreal kCx = kW / 2;

// A trapezoid centred on the canvas' middle line, with rounded corners.
QPainterPath trapezoid(qreal top, qreal topHalf, qreal bottom, qreal bottomHalf, qreal radius)
{
    const QPointF pts[4] = {{kCx - topHalf, top}, {kCx + topHalf, top}, {kCx + bottomHalf, bottom}, {kCx - bottomHalf, bottom}};
    QPainterPath path;
    for (int i = 0; i < 4; ++i) {
        const QPointF prev = pts[(i + 3) % 4], at = pts[i], next = pts[(i + 1) % 4];
        const QPointF a = at + (prev - at) * (radius / std::hypot(prev.x() - at.x(), prev.y() - at.y()));
        const QPointF b = at + (next - at) * (radius / std::hypot(next.x() - at.x(), next.y() - at.y()));
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        path.quadTo(at, b);
    }
    path.closeSubpath();
    return path;
}

// The scene's parts.
QPainterPath bodyPath() { return trapezoid(150, 180, 1150, 500, 26); }
QPainterPath platePath() { return trapezoid(192, 160, 442, 232, 34); }
QPainterPath windowPath() { return trapezoid(462, 132, 712, 96, 22); }
const QPointF kPivot(kCx, 694);
constexpr qreal kRod = 222;
constexpr qreal kSwing = 14;   // degrees either side

struct FaceState
{
    int gaze = -1;          // -1 left, 0 ahead, +1 right
    bool closed = false;
    bool accent = false;    // the first beat of the bar
    bool muted = false;
    qreal pendulum = -kSwing;
};

void drawBackground(QPainter& p)
{
    p.fillRect(QRectF(0, 0, kW, kH), Qt::black);
    // A warm glow behind the metronome that fades to pure black well inside every edge, so that the
    // face meets the black frame without a seam.
    QRadialGradient glow(QPointF(kCx, 640), 560);
    glow.setColorAt(0, QColor(0x3A, 0x2A, 0x1E));
    glow.setColorAt(0.55, QColor(0x1A, 0x12, 0x0C));
    glow.setColorAt(1, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(kCx, 640), 560, 560);
}

void drawBody(QPainter& p)
{
    // Shadow, plinth, body with a lit left face and a shaded right face, cap.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(QPointF(kCx, 1168), 600, 26);
    const QRectF plinth(262, 1098, kW - 2 * 262, 62);
    p.setBrush(verticalGradient(plinth, pal::rosewoodLight(), QColor(0x24, 0x15, 0x0D)));
    p.drawRoundedRect(plinth, 14, 14);

    const QPainterPath body = bodyPath();
    QLinearGradient wood(QPointF(300, 0), QPointF(1300, 0));
    wood.setColorAt(0, QColor(0x8A, 0x57, 0x33));
    wood.setColorAt(0.45, QColor(0x6B, 0x40, 0x26));
    wood.setColorAt(0.5, QColor(0x5A, 0x35, 0x20));
    wood.setColorAt(1, QColor(0x33, 0x1D, 0x11));
    p.setBrush(wood);
    p.drawPath(body);
    // Grain: long faint lines following the sides.
    p.save();
    p.setClipPath(body);
    for (int i = 0; i < 26; ++i) {
        const qreal t = (i + 0.5) / 26.0;
        const qreal topX = kCx - 180 + 360 * t, bottomX = kCx - 500 + 1000 * t;
        p.setPen(QPen(QColor(0x20, 0x10, 0x08, 28 + (i * 37) % 30), 2.2));
        QPainterPath grain;
        grain.moveTo(topX, 150);
        grain.cubicTo(topX + 8 * std::sin(i), 450, bottomX - 10 * std::cos(i), 800, bottomX, 1150);
        p.drawPath(grain);
    }
    // Sheen on the lit face.
    QLinearGradient sheen(QPointF(kCx - 420, 0), QPointF(kCx, 0));
    sheen.setColorAt(0, QColor(255, 230, 200, 0));
    sheen.setColorAt(0.6, QColor(255, 230, 200, 26));
    sheen.setColorAt(1, QColor(255, 230, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRect(QRectF(0, 0, kCx, kH));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1C, 0x0F, 0x08), 3));
    p.drawPath(body);
    p.setPen(QPen(QColor(255, 220, 180, 40), 2));
    p.drawPath(trapezoid(156, 172, 1144, 492, 22));

    const QRectF cap(kCx - 140, 120, 280, 44);
    p.setPen(QPen(QColor(0x1C, 0x0F, 0x08), 3));
    p.setBrush(verticalGradient(cap, QColor(0x7A, 0x4B, 0x2C), QColor(0x3A, 0x21, 0x13)));
    p.drawRoundedRect(cap, 18, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 235, 210, 45));
    p.drawRoundedRect(QRectF(cap.left() + 14, cap.top() + 6, cap.width() - 28, 12), 6, 6);

    // A brass line across the lower body, where the controls sit.
    p.setPen(QPen(QColor(0xC9, 0xA2, 0x5A, 110), 3));
    p.drawLine(QPointF(kCx - 330, 760), QPointF(kCx + 330, 760));
}

void drawEye(QPainter& p, const QPointF& c, const FaceState& s)
{
    const qreal rx = 68, ry = 62;
    if (s.closed) {
        // A closed lid: the lid line, a hint of the lid's shade and lashes.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3A, 0x33, 0x2C, 30));
        p.drawEllipse(c + QPointF(0, -6), rx, ry * 0.55);
        QPainterPath lid;
        lid.moveTo(c + QPointF(-rx, -4));
        lid.quadTo(c + QPointF(0, 44), c + QPointF(rx, -4));
        p.setPen(roundCapPen(pal::panelDark(), 9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(lid);
        for (int i = -2; i <= 2; ++i) {
            const qreal t = 0.5 + i * 0.2;
            const QPointF on = lid.pointAtPercent(t);
            p.setPen(roundCapPen(pal::panelDark(), 6));
            p.drawLine(on, on + QPointF(i * 9, 24));
        }
        return;
    }
    // Sclera with a soft shade at the top.
    QRadialGradient white(c + QPointF(0, 16), rx * 1.1);
    white.setColorAt(0, QColor(0xFF, 0xFE, 0xFA));
    white.setColorAt(0.8, pal::paper());
    white.setColorAt(1, QColor(0xE6, 0xDC, 0xC6));
    p.setPen(QPen(pal::panelDark(), 6));
    p.setBrush(white);
    p.drawEllipse(c, rx, ry);
    // Iris and pupil, turned by the gaze; wide open on the first beat.
    const qreal irisR = s.accent ? 40 : 36;
    const QPointF iris = c + QPointF(s.gaze * 30, s.accent ? -2 : 6);
    QRadialGradient ig(iris, irisR);
    const QColor hue = s.accent ? pal::warm() : pal::accent();
    ig.setColorAt(0, hue.lighter(150));
    ig.setColorAt(0.7, hue);
    ig.setColorAt(1, hue.darker(170));
    p.save();
    QPainterPath sclera;
    sclera.addEllipse(c, rx - 3, ry - 3);
    p.setClipPath(sclera);
    p.setPen(Qt::NoPen);
    p.setBrush(ig);
    p.drawEllipse(iris, irisR, irisR);
    p.setBrush(QColor(0x12, 0x0E, 0x0B));
    p.drawEllipse(iris, irisR * (s.accent ? 0.55 : 0.48), irisR * (s.accent ? 0.55 : 0.48));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(iris + QPointF(-irisR * 0.35, -irisR * 0.4), irisR * 0.2, irisR * 0.2);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(iris + QPointF(irisR * 0.3, irisR * 0.3), irisR * 0.09, irisR * 0.09);
    p.restore();
}

// A speaker with sound waves, or struck through in the slash colour when muted; `unit` scales the
// button glyph (1) up to the face plate's emblem.
void drawSpeaker(QPainter& p, const QPointF& c, qreal unit, const QColor& ink, const QColor& slash, bool muted)
{
    auto at = [&](qreal x, qreal y) { return c + QPointF(x * unit, y * unit); };
    QPainterPath cone;
    cone.moveTo(at(-12, -4.5));
    cone.lineTo(at(-6.5, -4.5));
    cone.lineTo(at(0, -10.5));
    cone.lineTo(at(0, 10.5));
    cone.lineTo(at(-6.5, 4.5));
    cone.lineTo(at(-12, 4.5));
    cone.closeSubpath();
    p.setPen(roundCapPen(ink, 1.6 * unit));
    p.setBrush(ink);
    p.drawPath(cone);
    p.setBrush(Qt::NoBrush);
    if (muted) {
        p.setPen(roundCapPen(slash, 2.6 * unit));
        p.drawLine(at(4, -5.5), at(13, 5.5));
        p.drawLine(at(13, -5.5), at(4, 5.5));
    } else {
        p.setPen(roundCapPen(ink, 2.2 * unit));
        p.drawArc(QRectF(at(-4, -6.5), QSizeF(13 * unit, 13 * unit)), -50 * 16, 100 * 16);
        p.drawArc(QRectF(at(-7, -11.5), QSizeF(23 * unit, 23 * unit)), -50 * 16, 100 * 16);
    }
}

void drawPlate(QPainter& p, const FaceState& s)
{
    const QPainterPath plate = platePath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(plate.translated(0, 5));
    QLinearGradient ivory(QPointF(0, 192), QPointF(0, 442));
    ivory.setColorAt(0, pal::paper());
    ivory.setColorAt(1, pal::bone());
    p.setBrush(ivory);
    p.setPen(QPen(s.accent ? pal::warm() : QColor(0x8A, 0x7A, 0x60), s.accent ? 9 : 4));
    p.drawPath(plate);
    if (s.accent) {
        p.setPen(QPen(QColor(0xD9, 0x83, 0x2E, 90), 6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(trapezoid(204, 148, 430, 218, 26));
    }

    // Brows: raised on the first beat.
    for (int side : {-1, 1}) {
        const QPointF c(kCx + side * 92, s.accent ? 218 : 228);
        QPainterPath brow;
        brow.moveTo(c + QPointF(-52 * side, 14));
        brow.quadTo(c + QPointF(-6 * side, s.accent ? -18 : -10), c + QPointF(50 * side, s.closed ? 12 : 6));
        p.setPen(roundCapPen(pal::panelDark(), 10));
        p.setBrush(Qt::NoBrush);
        p.drawPath(brow);
    }
    for (int side : {-1, 1})
        drawEye(p, QPointF(kCx + side * 92, 318), s);
    drawSpeaker(p, QPointF(kCx + 2, 412), 2.2, s.muted ? pal::bad() : pal::accentDark(), pal::bad(), s.muted);
}

void drawWindow(QPainter& p, const FaceState& s)
{
    const QPainterPath window = windowPath();
    p.setPen(QPen(QColor(0x1C, 0x0F, 0x08), 4));
    QLinearGradient inside(QPointF(0, 462), QPointF(0, 712));
    inside.setColorAt(0, QColor(0x1E, 0x12, 0x0B));
    inside.setColorAt(1, QColor(0x2C, 0x1A, 0x0F));
    p.setBrush(inside);
    p.drawPath(window);
    // The tempo scale behind the pendulum: the tempo at the left, its mark at the right.
    const QRectF scale(kCx - 52, 476, 104, 190);
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(scale, pal::bone(), QColor(0xD6, 0xC8, 0xA4)));
    p.drawRoundedRect(scale, 8, 8);
    p.setFont(pal::textFont(15, QFont::Bold));
    const int marks[] = {208, 144, 108, 72, 40};
    for (int i = 0; i < 5; ++i) {
        const qreal y = scale.top() + 20 + i * 37.5;
        p.setPen(QPen(pal::panelDark(), 2.5));
        p.drawLine(QPointF(kCx + 14, y), QPointF(scale.right() - 8, y));
        p.drawText(QRectF(scale.left() + 4, y - 11, 40, 22), Qt::AlignCenter, QString::number(marks[i]));
    }
    // The pendulum: a steel rod from the pivot, a brass weight and a ball at the top.
    p.save();
    p.setClipPath(window);
    p.translate(kPivot);
    p.rotate(s.pendulum);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(QRectF(-2, -kRod, 12, kRod), 5, 5);
    QLinearGradient steel(QPointF(-5, 0), QPointF(5, 0));
    steel.setColorAt(0, QColor(0x8E, 0x93, 0x97));
    steel.setColorAt(0.5, QColor(0xF0, 0xF2, 0xF4));
    steel.setColorAt(1, QColor(0x70, 0x74, 0x78));
    p.setBrush(steel);
    p.drawRoundedRect(QRectF(-5, -kRod, 10, kRod), 5, 5);
    p.setBrush(QColor(0xE8, 0xEA, 0xEC));
    p.drawEllipse(QPointF(0, -kRod), 13, 13);
    const QColor brass = s.accent ? pal::warm() : QColor(0xC9, 0xA2, 0x5A);
    QPainterPath weight;
    weight.moveTo(-34, -132);
    weight.lineTo(34, -132);
    weight.lineTo(26, -94);
    weight.lineTo(-26, -94);
    weight.closeSubpath();
    QLinearGradient bw(QPointF(-40, 0), QPointF(40, 0));
    bw.setColorAt(0, brass.darker(125));
    bw.setColorAt(0.35, brass.lighter(140));
    bw.setColorAt(1, brass.darker(160));
    p.setPen(QPen(brass.darker(220), 3));
    p.setBrush(bw);
    p.drawPath(weight);
    p.restore();
    // The pivot's cover.
    p.setPen(QPen(QColor(0x1C, 0x0F, 0x08), 3));
    p.setBrush(verticalGradient(QRectF(kCx - 42, 680, 84, 26), QColor(0xC9, 0xA2, 0x5A), QColor(0x7A, 0x5A, 0x28)));
    p.drawRoundedRect(QRectF(kCx - 42, 680, 84, 26), 10, 10);
}

QImage drawScene(const FaceState& s)
{
    QImage image(int(kW), int(kH), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawBackground(p);
    drawBody(p);
    drawPlate(p, s);
    drawWindow(p, s);
    return image;
}

// The part of a face that differs between faces: the plate and the pendulum window, with a
// margin that the overlays' soft edge fades out in.
QImage overlayOf(const QImage& scene)
{
    QImage mask(scene.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing);
        m.setPen(QPen(Qt::white, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m.setBrush(Qt::white);
        m.drawPath(platePath());
        m.drawPath(windowPath());
    }
    QImage out = scene;
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, mask);
    return out;
}

IMAGEGEN_PRODUCER(drawMetronomeFaces)
{
    FaceState states[MF::PictureCount];
    states[MF::BaseEyesLeft] = {-1, false, false, false, -kSwing};
    states[MF::EyesRight] = {1, false, false, false, kSwing};
    states[MF::Beat] = {0, false, true, false, 0};
    states[MF::MuteEyesLeft] = {-1, false, false, true, -kSwing};
    states[MF::MuteEyesRight] = {1, false, false, true, kSwing};
    states[MF::MuteBeat] = {0, false, true, true, 0};
    states[MF::EyesClosed] = {0, true, false, false, 0};
    states[MF::EyesClosedMute] = {0, true, false, true, 0};
    for (int i = 0; i < MF::PictureCount; ++i) {
        const QString name = QString::fromLatin1(MF::kFaces[i].resource).mid(2);
        const QImage scene = drawScene(states[i]);
        sink.save(name, i == MF::BaseEyesLeft ? scene : overlayOf(scene));
    }
}

// ---------------------------------------------------------------------------------------------
// Control faces (44 x 44 buttons, the 64 x 44 beats menu button, 50 x 50 beat marks).

enum class Look { Normal, Hover, Pressed };

// A round teal button, like the program's other round buttons, for minus and plus.
void drawRoundKey(QPainter& p, Look look, bool plus)
{
    const QRectF r(3, 2.5, 38, 38);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawEllipse(r.translated(0, 1.5));
    const QColor top = look == Look::Pressed ? pal::accentDark() : look == Look::Hover ? pal::accentLight().lighter(112) : pal::accentLight();
    const QColor bottom = look == Look::Pressed ? pal::accentDark().darker(130) : pal::accentDark();
    p.setPen(QPen(QColor(255, 255, 255, look == Look::Hover ? 120 : 70), 1.2));
    p.setBrush(verticalGradient(r, top, bottom));
    p.drawEllipse(r);
    p.setPen(roundCapPen(Qt::white, 3.4));
    const QPointF c = r.center() + QPointF(0, look == Look::Pressed ? 0.8 : 0);
    p.drawLine(c - QPointF(9, 0), c + QPointF(9, 0));
    if (plus)
        p.drawLine(c - QPointF(0, 9), c + QPointF(0, 9));
}

// The dark glass tile of the switches, lit in the accent colour under the pointer.
void drawTile(QPainter& p, const QRectF& r, bool hover, bool off)
{
    p.setPen(QPen(QColor(255, 255, 255, hover ? 100 : 50), 1));
    if (hover)
        p.setBrush(verticalGradient(r, pal::accentLight(), pal::accentDark()));
    else if (off)
        p.setBrush(verticalGradient(r, QColor(0, 0, 0, 120), QColor(0, 0, 0, 70)));
    else
        p.setBrush(verticalGradient(r, QColor(255, 255, 255, 40), QColor(255, 255, 255, 14)));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
}

void drawEyeGlyph(QPainter& p, const QPointF& c, const QColor& ink, bool off)
{
    QPainterPath eye;
    eye.moveTo(c + QPointF(-13, 0));
    eye.quadTo(c + QPointF(0, -13), c + QPointF(13, 0));
    eye.quadTo(c + QPointF(0, 13), c + QPointF(-13, 0));
    p.setPen(roundCapPen(ink, 2.2));
    p.setBrush(Qt::NoBrush);
    if (off) {
        QPainterPath lid;
        lid.moveTo(c + QPointF(-13, -1));
        lid.quadTo(c + QPointF(0, 10), c + QPointF(13, -1));
        p.drawPath(lid);
        for (int i = -1; i <= 1; ++i)
            p.drawLine(lid.pointAtPercent(0.5 + i * 0.25), lid.pointAtPercent(0.5 + i * 0.25) + QPointF(i * 2.5, 5));
        return;
    }
    p.drawPath(eye);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, 4.6, 4.6);
}

// An accent over a note head: what the beats menu beside it counts.
void drawAccentGlyph(QPainter& p, const QPointF& c, const QColor& ink)
{
    p.setPen(roundCapPen(pal::warm(), 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(QVector<QPointF>{c + QPointF(-9, -15), c + QPointF(5, -10), c + QPointF(-9, -5)}));
    p.save();
    p.translate(c + QPointF(-3, 8));
    p.rotate(-22);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(0, 0), 7.5, 5.4);
    p.restore();
    p.setPen(roundCapPen(ink, 2.2));
    p.drawLine(c + QPointF(4, 7), c + QPointF(4, -6));
}

void drawCombo(QPainter& p, bool hover)
{
    const QRectF r(1, 4, 62, 36);
    p.setPen(QPen(QColor(255, 255, 255, hover ? 110 : 60), 1));
    p.setBrush(hover ? verticalGradient(r, pal::accentLight(), pal::accentDark())
                     : verticalGradient(r, QColor(0x5A, 0x52, 0x4A), QColor(0x2E, 0x29, 0x25)));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.drawLine(QPointF(r.right() - 19, r.top() + 7), QPointF(r.right() - 19, r.bottom() - 7));
    p.setPen(roundCapPen(pal::bone(), 2.2));
    const QPointF c(r.right() - 10, r.center().y());
    p.drawPolyline(QPolygonF(QVector<QPointF>{c + QPointF(-4.5, -2), c + QPointF(0, 2.5), c + QPointF(4.5, -2)}));
}

void drawBeatMark(QPainter& p, bool lit)
{
    const QPointF c(25, 25);
    if (lit) {
        QRadialGradient halo(c, 24);
        halo.setColorAt(0, QColor(0xD9, 0x83, 0x2E, 200));
        halo.setColorAt(0.6, QColor(0xD9, 0x83, 0x2E, 90));
        halo.setColorAt(1, QColor(0xD9, 0x83, 0x2E, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, 24, 24);
    }
    QRadialGradient g(c + QPointF(-4, -5), 17);
    g.setColorAt(0, lit ? QColor(0xFF, 0xE2, 0xB0) : QColor(0x4A, 0x42, 0x3B));
    g.setColorAt(0.7, lit ? pal::warm() : QColor(0x2A, 0x24, 0x20));
    g.setColorAt(1, lit ? pal::warm().darker(140) : QColor(0x18, 0x14, 0x11));
    p.setPen(QPen(lit ? QColor(0xFF, 0xF0, 0xD8, 200) : QColor(255, 255, 255, 45), 1.5));
    p.setBrush(g);
    p.drawEllipse(c, 14, 14);
}

IMAGEGEN_PRODUCER(drawMetronomeControls)
{
    const std::pair<Look, const char*> looks[] = {{Look::Normal, ""}, {Look::Hover, "_hover"}, {Look::Pressed, "_pressed"}};
    for (bool plus : {false, true}) {
        for (const auto& look : looks) {
            const Look l = look.first;
            sink.saveBoth(QString(plus ? "MetronomePlus" : "MetronomeMinus") + look.second + ".png", QSize(44, 44),
                          [=](QImage& image, int scale) {
                              QPainter p(&image);
                              prepareScaled(p, scale);
                              drawRoundKey(p, l, plus);
                          });
        }
    }
    for (bool sound : {false, true}) {
        for (bool off : {false, true}) {
            for (bool hover : {false, true}) {
                const QString name = QString(sound ? "MetronomeSound" : "MetronomeEye") + (off ? "_checked" : "") + (hover ? "_hover" : "") + ".png";
                sink.saveBoth(name, QSize(44, 44), [=](QImage& image, int scale) {
                    QPainter p(&image);
                    prepareScaled(p, scale);
                    drawTile(p, QRectF(2, 2, 40, 40), hover, off);
                    const QColor ink = hover ? QColor(Qt::white) : off ? pal::disabled() : pal::bone();
                    if (sound)
                        drawSpeaker(p, QPointF(23, 22), 1, ink, hover ? QColor(Qt::white) : pal::bad(), off);
                    else
                        drawEyeGlyph(p, QPointF(22, 22), ink, off);
                });
            }
        }
    }
    sink.saveBoth("MetronomeAccent.png", QSize(44, 44), [](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        drawAccentGlyph(p, QPointF(22, 23), pal::bone());
    });
    for (bool hover : {false, true}) {
        sink.saveBoth(hover ? "MetronomeCombo_hover.png" : "MetronomeCombo.png", QSize(64, 44), [=](QImage& image, int scale) {
            QPainter p(&image);
            prepareScaled(p, scale);
            drawCombo(p, hover);
        });
    }
    for (bool lit : {false, true}) {
        sink.saveBoth(lit ? "MetronomeBeatOn.png" : "MetronomeBeatOff.png", QSize(50, 50), [=](QImage& image, int scale) {
            QPainter p(&image);
            prepareScaled(p, scale);
            drawBeatMark(p, lit);
        });
    }
}

} // namespace
