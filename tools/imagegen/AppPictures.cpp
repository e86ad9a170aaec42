// The application's own pictures: the instrument column's buttons, the staff papers, the trainer's
// keys and buttons, the accidental buttons, the Get It faces, the page bar's background, the
// application pictures of the availability dialog and the promotion menu, and the introduction
// slides (written into the bundle's resource folder in English, German and Russian).
#include "ImageSink.h"
#include "Palette.h"

#include "../../app/TonarixIdentity.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

namespace {

using namespace imagegen;
namespace pal = imagegen::palette;

enum class Instrument { Banjo, Balalaika, Guitar, Bass, Ukulele, Violin, Mandolin };

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void prepare(QPainter& p, int scale)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
}

// ---------------------------------------------------------------------------------------------
// Instruments, drawn upright in a 100 x 100 box (head at the top, body at the bottom).

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath p;
    p.addEllipse(QPointF(cx, cy), rx, ry);
    return p;
}

QPainterPath roundRect(const QRectF& r, qreal radius)
{
    QPainterPath p;
    p.addRoundedRect(r, radius, radius);
    return p;
}

struct Shape
{
    QPainterPath body;
    QPainterPath neck;   // neck and head
    QPainterPath hole;   // sound hole, drum head or f-holes (filled in a dark or light tone)
    bool drum = false;
    qreal neckTop = 6, neckBottom = 50, neckX = 50, neckHalf = 4;
    int strings = 4;
};

Shape shapeOf(Instrument which)
{
    Shape s;
    switch (which) {
    case Instrument::Guitar:
        s.body = ellipse(50, 62, 15, 13).united(ellipse(50, 80, 19, 16)).united(QPainterPath());
        s.neck = roundRect(QRectF(46, 10, 8, 48), 2).united(roundRect(QRectF(44, 2, 12, 12), 3));
        s.hole = ellipse(50, 70, 6, 6);
        s.strings = 6;
        s.neckTop = 8; s.neckBottom = 88; s.neckHalf = 3.5;
        break;
    case Instrument::Bass:
        s.body = ellipse(50, 72, 16, 14).united(ellipse(50, 86, 19, 12));
        s.body = s.body.subtracted(ellipse(39, 58, 5, 7)).subtracted(ellipse(61, 60, 4, 6));
        s.neck = roundRect(QRectF(46.5, 8, 7, 62), 2).united(roundRect(QRectF(44, 1, 12, 11), 3));
        s.hole = roundRect(QRectF(42, 78, 16, 4), 2);
        s.strings = 4;
        s.neckTop = 6; s.neckBottom = 90; s.neckHalf = 3.2;
        break;
    case Instrument::Ukulele:
        s.body = ellipse(50, 66, 12, 11).united(ellipse(50, 81, 16, 14));
        s.neck = roundRect(QRectF(46.5, 22, 7, 40), 2).united(roundRect(QRectF(44.5, 13, 11, 12), 3));
        s.hole = ellipse(50, 72, 5, 5);
        s.strings = 4;
        s.neckTop = 18; s.neckBottom = 90; s.neckHalf = 3;
        break;
    case Instrument::Violin: {
        QPainterPath upper = ellipse(50, 60, 14, 12);
        QPainterPath lower = ellipse(50, 82, 17, 14);
        QPainterPath waist;
        waist.addRect(QRectF(40, 62, 20, 18));
        s.body = upper.united(lower).united(waist);
        s.body = s.body.subtracted(ellipse(33.5, 71, 5, 6)).subtracted(ellipse(66.5, 71, 5, 6));
        s.neck = roundRect(QRectF(47, 12, 6, 52), 2).united(ellipse(50, 8, 5, 6));
        QPainterPath f;
        f.addRoundedRect(QRectF(41, 66, 2.4, 14), 1.2, 1.2);
        f.addRoundedRect(QRectF(56.6, 66, 2.4, 14), 1.2, 1.2);
        s.hole = f;
        s.strings = 4;
        s.neckTop = 12; s.neckBottom = 92; s.neckHalf = 2.6;
        break;
    }
    case Instrument::Mandolin: {
        QPainterPath tear;
        tear.moveTo(50, 50);
        tear.cubicTo(64, 56, 72, 70, 68, 82);
        tear.cubicTo(64, 95, 36, 95, 32, 82);
        tear.cubicTo(28, 70, 36, 56, 50, 50);
        s.body = tear;
        s.neck = roundRect(QRectF(46.5, 16, 7, 40), 2).united(roundRect(QRectF(43.5, 6, 13, 13), 3));
        s.hole = ellipse(50, 70, 5.5, 5.5);
        s.strings = 4;
        s.neckTop = 12; s.neckBottom = 88; s.neckHalf = 3;
        break;
    }
    case Instrument::Banjo:
        s.body = ellipse(50, 74, 21, 21);
        s.neck = roundRect(QRectF(46.5, 8, 7, 50), 2).united(roundRect(QRectF(44.5, 0, 11, 11), 3));
        s.neck = s.neck.united(ellipse(56.5, 30, 2.4, 2.4));   // the short fifth string's peg
        s.hole = ellipse(50, 74, 17.5, 17.5);
        s.drum = true;
        s.strings = 5;
        s.neckTop = 6; s.neckBottom = 88; s.neckHalf = 3.2;
        break;
    case Instrument::Balalaika: {
        QPainterPath tri;
        tri.moveTo(50, 47);
        tri.quadTo(54, 47, 56, 51);
        tri.lineTo(74, 88);
        tri.quadTo(76, 95, 68, 95);
        tri.lineTo(32, 95);
        tri.quadTo(24, 95, 26, 88);
        tri.lineTo(44, 51);
        tri.quadTo(46, 47, 50, 47);
        s.body = tri;
        s.neck = roundRect(QRectF(47, 8, 6, 44), 2).united(roundRect(QRectF(44.5, 0, 11, 11), 3));
        s.hole = ellipse(50, 76, 4, 4);
        s.strings = 3;
        s.neckTop = 6; s.neckBottom = 92; s.neckHalf = 2.6;
        break;
    }
    }
    return s;
}

// Draws the instrument into `box`, tilted by `angle` degrees. `light` draws on dark grounds.
void drawInstrument(QPainter& p, Instrument which, const QRectF& box, qreal angle, bool vivid = true)
{
    const Shape s = shapeOf(which);
    p.save();
    p.translate(box.center());
    p.rotate(angle);
    const qreal k = qMin(box.width(), box.height()) / 100.0;
    p.scale(k, k);
    p.translate(-50, -50);

    const QColor outline = pal::rosewood().darker(160);
    const QColor wood = vivid ? pal::maple() : mix(pal::maple(), pal::disabled(), 0.5);
    // Shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(s.body.translated(1.6, 1.8));
    p.drawPath(s.neck.translated(1.6, 1.8));

    QLinearGradient bodyFill(QPointF(30, 50), QPointF(70, 95));
    bodyFill.setColorAt(0, wood.lighter(118));
    bodyFill.setColorAt(1, wood.darker(118));
    p.setPen(QPen(outline, 1.1));
    p.setBrush(s.drum ? QBrush(pal::fretSilver()) : QBrush(bodyFill));
    p.drawPath(s.body);
    p.setBrush(vertical(QRectF(0, 0, 100, 60), pal::rosewoodLight(), pal::rosewood()));
    p.drawPath(s.neck);
    if (s.drum) {
        QRadialGradient head(QPointF(46, 70), 20);
        head.setColorAt(0, QColor(0xFF, 0xFC, 0xF2));
        head.setColorAt(1, pal::bone().darker(108));
        p.setPen(QPen(pal::fretSilver().darker(140), 0.8));
        p.setBrush(head);
        p.drawPath(s.hole);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(pal::rosewood().darker(150));
        p.drawPath(s.hole);
    }
    // Strings over the neck and body.
    p.setPen(QPen(pal::string(), 0.55));
    for (int i = 0; i < s.strings; ++i) {
        const qreal t = s.strings == 1 ? 0 : (i / qreal(s.strings - 1) - 0.5);
        const qreal x = s.neckX + t * 2 * s.neckHalf * 0.7;
        p.drawLine(QPointF(x, s.neckTop + 6), QPointF(x, s.neckBottom - 4));
    }
    // Bridge.
    p.setPen(Qt::NoPen);
    p.setBrush(pal::rosewood().darker(130));
    p.drawRoundedRect(QRectF(s.neckX - s.neckHalf - 1.5, s.neckBottom - 6, 2 * s.neckHalf + 3, 2.2), 1, 1);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Instrument column buttons (64 x 64): a rounded tile with the instrument.

struct ItemFace
{
    const char* name;
    Instrument instrument;
    bool checkable;   // banjo and balalaika stay checked; the five others never do
};

const ItemFace kItems[] = {
    {"BanjoItem", Instrument::Banjo, true},      {"BalalaikaItem", Instrument::Balalaika, true},
    {"GuitarItem", Instrument::Guitar, false},   {"BassItem", Instrument::Bass, false},
    {"UkuleleItem", Instrument::Ukulele, false}, {"ViolinItem", Instrument::Violin, false},
    {"MandolinItem", Instrument::Mandolin, false},
};

enum class TileState { Normal, Hover, Checked };

void drawItemTile(QPainter& p, const QRectF& r, Instrument which, TileState state)
{
    const QRectF tile = r.adjusted(2, 2, -2, -2);
    QColor top, bottom, ring;
    switch (state) {
    case TileState::Normal:
        top = QColor(0x52, 0x4A, 0x42);
        bottom = QColor(0x2E, 0x29, 0x25);
        ring = QColor(0x6A, 0x61, 0x57);
        break;
    case TileState::Hover:
        top = QColor(0x66, 0x5C, 0x52);
        bottom = QColor(0x3A, 0x34, 0x2E);
        ring = pal::accentLight();
        break;
    case TileState::Checked:
        top = pal::accentLight();
        bottom = pal::accentDark();
        ring = pal::bone();
        break;
    }
    p.setPen(QPen(ring, state == TileState::Normal ? 1 : 2));
    p.setBrush(vertical(tile, top, bottom));
    p.drawRoundedRect(tile, 12, 12);
    // A soft highlight across the top half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, state == TileState::Checked ? 40 : 22));
    p.drawRoundedRect(QRectF(tile.left() + 3, tile.top() + 3, tile.width() - 6, tile.height() * 0.42), 9, 9);
    drawInstrument(p, which, tile.adjusted(-2, -2, 2, 2), -32, true);
}

IMAGEGEN_PRODUCER(drawInstrumentButtons)
{
    for (const ItemFace& item : kItems) {
        const QString base = QLatin1String(item.name);
        const auto face = [&](TileState state) {
            return [&, state](QImage& image, int scale) {
                QPainter p(&image);
                prepare(p, scale);
                drawItemTile(p, QRectF(0, 0, 64, 64), item.instrument, state);
            };
        };
        sink.saveBoth(base + ".png", QSize(64, 64), face(TileState::Normal));
        sink.saveBoth(base + "_hover.png", QSize(64, 64), face(TileState::Hover));
        if (item.checkable)
            sink.saveBoth(base + "_checked.png", QSize(64, 64), face(TileState::Checked));
    }
}

// ---------------------------------------------------------------------------------------------
// Staff papers: warm paper with a faint grain, a tint per instrument.

void drawPaper(QImage& image, int scale, const QColor& tint, quint32 seed)
{
    QPainter p(&image);
    prepare(p, scale);
    const QRectF r(0, 0, image.width() / scale, image.height() / scale);
    p.fillRect(r, vertical(r, mix(pal::paper(), Qt::white, 0.5), mix(pal::paper(), tint, 0.10)));
    QRandomGenerator rng(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < int(r.width() * r.height() / 60); ++i) {
        const qreal x = rng.bounded(r.width());
        const qreal y = rng.bounded(r.height());
        p.setBrush(QColor(tint.red(), tint.green(), tint.blue(), 6 + int(rng.bounded(10))));
        p.drawEllipse(QPointF(x, y), 0.6 + rng.bounded(1.4), 0.4);
    }
    // A soft vignette towards the edges.
    QRadialGradient vignette(r.center(), r.width() * 0.65);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(tint.red() / 2, tint.green() / 2, tint.blue() / 2, 38));
    p.fillRect(r, vignette);
}

IMAGEGEN_PRODUCER(drawStaffPapers)
{
    sink.saveBoth("banjopaper.jpg", QSize(800, 300), [](QImage& image, int scale) {
        image.fill(Qt::white);
        drawPaper(image, scale, pal::maple(), 7);
    });
    sink.saveBoth("balalaikapaper.jpg", QSize(800, 300), [](QImage& image, int scale) {
        image.fill(Qt::white);
        drawPaper(image, scale, pal::warm(), 11);
    });
    // The papers of the guitar, ukulele, violin and bass staves.
    const struct
    {
        const char* name;
        QRgb tint;
        quint32 seed;
    } papers[] = {{"guitarpaper.jpg", 0xFFD8B078, 13}, {"ukupaper.jpg", 0xFFB0682C, 17},
                  {"violinpaper.jpg", 0xFFB8561C, 19}, {"basspaper.jpg", 0xFF6A5A4C, 23}};
    for (const auto& paper : papers) {
        sink.saveBoth(paper.name, QSize(800, 300), [&paper](QImage& image, int scale) {
            image.fill(Qt::white);
            drawPaper(image, scale, QColor(paper.tint), paper.seed);
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Trainer: answer keys (44 x 44), the round start button (64 x 64), the board's two-part switch
// (96 x 32 halves).

enum class KeyState { Normal, Hover, Disabled };

void drawKey(QPainter& p, bool black, KeyState state)
{
    const QRectF r(1, 1, 42, 42);
    QColor top, bottom, edge;
    if (!black) {
        top = Qt::white;
        bottom = pal::bone();
        edge = pal::line();
        if (state == KeyState::Hover) {
            top = mix(Qt::white, pal::accentLight(), 0.18);
            bottom = mix(pal::bone(), pal::accentLight(), 0.45);
            edge = pal::accent();
        } else if (state == KeyState::Disabled) {
            top = QColor(0xD8, 0xD4, 0xCC);
            bottom = QColor(0xC2, 0xBD, 0xB4);
            edge = pal::disabled();
        }
    } else {
        top = QColor(0x3C, 0x36, 0x31);
        bottom = QColor(0x12, 0x10, 0x0E);
        edge = QColor(0x05, 0x05, 0x05);
        if (state == KeyState::Hover) {
            top = pal::accentLight();
            bottom = pal::accentDark().darker(130);
            edge = pal::accentDark().darker(180);
        } else if (state == KeyState::Disabled) {
            top = QColor(0x70, 0x6B, 0x66);
            bottom = QColor(0x55, 0x51, 0x4D);
            edge = QColor(0x48, 0x44, 0x40);
        }
    }
    // Shadow, body, and the lip at the bottom that makes it read as a key.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(r.translated(0, 1), 6, 6);
    p.setPen(QPen(edge, 1));
    p.setBrush(vertical(r, top, bottom));
    p.drawRoundedRect(r, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, black ? 60 : 24));
    p.drawRoundedRect(QRectF(r.left() + 2, r.bottom() - 5, r.width() - 4, 4), 2, 2);
    p.setBrush(QColor(255, 255, 255, black ? 30 : 120));
    p.drawRoundedRect(QRectF(r.left() + 3, r.top() + 2, r.width() - 6, 6), 3, 3);
}

void drawRound(QPainter& p, bool checked)
{
    const QRectF r(3, 3, 58, 58);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(r.translated(0, 1.5));
    const QColor base = checked ? pal::bad() : pal::accent();
    QRadialGradient g(QPointF(r.center().x(), r.top() + r.height() * 0.35), r.width() * 0.7);
    g.setColorAt(0, base.lighter(135));
    g.setColorAt(1, base.darker(125));
    p.setPen(QPen(pal::bone(), 2.5));
    p.setBrush(g);
    p.drawEllipse(r);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(4, 4, -4, -4));
}

void drawDual(QPainter& p, bool left, bool checked)
{
    const QRectF r(0.5, 0.5, 95, 31);
    QPainterPath shape;
    // Rounded on the outer side only, so the two halves join into one pill.
    const qreal rad = 10;
    if (left) {
        shape.moveTo(r.right(), r.top());
        shape.lineTo(r.left() + rad, r.top());
        shape.quadTo(r.left(), r.top(), r.left(), r.top() + rad);
        shape.lineTo(r.left(), r.bottom() - rad);
        shape.quadTo(r.left(), r.bottom(), r.left() + rad, r.bottom());
        shape.lineTo(r.right(), r.bottom());
        shape.closeSubpath();
    } else {
        shape.moveTo(r.left(), r.top());
        shape.lineTo(r.right() - rad, r.top());
        shape.quadTo(r.right(), r.top(), r.right(), r.top() + rad);
        shape.lineTo(r.right(), r.bottom() - rad);
        shape.quadTo(r.right(), r.bottom(), r.right() - rad, r.bottom());
        shape.lineTo(r.left(), r.bottom());
        shape.closeSubpath();
    }
    const QColor top = checked ? pal::accentLight() : QColor(0x5A, 0x52, 0x4A);
    const QColor bottom = checked ? pal::accentDark() : QColor(0x2E, 0x29, 0x25);
    p.setPen(QPen(checked ? pal::accentDark().darker(140) : QColor(0x1E, 0x1A, 0x17), 1));
    p.setBrush(vertical(r, top, bottom));
    p.drawPath(shape);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, checked ? 45 : 25));
    p.drawRect(QRectF(r.left() + (left ? 6 : 1), r.top() + 2, r.width() - 7, 10));
}

IMAGEGEN_PRODUCER(drawTrainerFaces)
{
    for (bool black : {false, true}) {
        const QString base = black ? QStringLiteral("Keyd") : QStringLiteral("Key");
        const std::pair<KeyState, const char*> states[] = {
            {KeyState::Normal, ""}, {KeyState::Hover, "_hover"}, {KeyState::Disabled, "_disabled"}};
        for (const auto& st : states) {
            const KeyState state = st.first;
            sink.saveBoth(base + QLatin1String(st.second) + ".png", QSize(44, 44), [=](QImage& image, int scale) {
                QPainter p(&image);
                prepare(p, scale);
                drawKey(p, black, state);
            });
        }
    }
    for (bool checked : {false, true}) {
        sink.saveBoth(checked ? "RoundButton_checked.png" : "RoundButton.png", QSize(64, 64),
                      [=](QImage& image, int scale) {
                          QPainter p(&image);
                          prepare(p, scale);
                          drawRound(p, checked);
                      });
        for (bool left : {true, false}) {
            const QString name = QString(left ? "DualButtonLeft" : "DualButtonRight") + (checked ? "_checked" : "") + ".png";
            sink.saveBoth(name, QSize(96, 32), [=](QImage& image, int scale) {
                QPainter p(&image);
                prepare(p, scale);
                drawDual(p, left, checked);
            });
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Accidental buttons (32 x 32): the sign, and a framed twin for the pressed or chosen state.

IMAGEGEN_PRODUCER(drawAccidentalButtons)
{
    const struct
    {
        const char* name;
        QString glyph;
    } signs[] = {{"flatsign", QString(QChar(0x266D))}, {"sharpsign", QString(QChar(0x266F))}, {"naturalsign", QString(QChar(0x266E))}};
    for (const auto& sign : signs) {
        for (bool framed : {false, true}) {
            const QString glyph = sign.glyph;
            sink.saveBoth(QLatin1String(sign.name) + (framed ? "_framed.png" : ".png"), QSize(32, 32),
                          [=](QImage& image, int scale) {
                              QPainter p(&image);
                              prepare(p, scale);
                              const QRectF r(1.5, 1.5, 29, 29);
                              if (framed) {
                                  p.setPen(QPen(pal::accent(), 2));
                                  p.setBrush(QColor(pal::accentLight().red(), pal::accentLight().green(), pal::accentLight().blue(), 50));
                                  p.drawRoundedRect(r, 6, 6);
                              }
                              QFont f(pal::musicFamily());
                              f.setPixelSize(34);
                              f.setWeight(QFont::Bold);
                              p.setFont(f);
                              p.setPen(framed ? pal::accentDark() : pal::panelDark());
                              p.drawText(r.adjusted(0, -3, 0, 0), Qt::AlignCenter, glyph);
                          });
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Get It faces (100 x 44) and the page bar's background (stretched over the bar's width).

IMAGEGEN_PRODUCER(drawGetButtonsAndBar)
{
    const struct
    {
        const char* name;
        QColor top, bottom;
    } faces[] = {{"GetButton.png", pal::accentLight(), pal::accentDark()},
                 {"GetButton_hover.png", pal::accentLight().lighter(115), pal::accent()},
                 {"GetButton_pressed.png", pal::accentDark(), pal::accentDark().darker(130)}};
    for (const auto& face : faces) {
        const QColor top = face.top, bottom = face.bottom;
        sink.saveBoth(face.name, QSize(100, 44), [=](QImage& image, int scale) {
            QPainter p(&image);
            prepare(p, scale);
            const QRectF r(1, 1, 98, 41);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 80));
            p.drawRoundedRect(r.translated(0, 1.5), 20, 20);
            p.setPen(QPen(pal::accentDark().darker(150), 1));
            p.setBrush(vertical(r, top, bottom));
            p.drawRoundedRect(r, 20, 20);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 45));
            p.drawRoundedRect(QRectF(r.left() + 8, r.top() + 2, r.width() - 16, 14), 7, 7);
        });
    }
    sink.saveBoth("backgroundbar.png", QSize(400, 45), [](QImage& image, int scale) {
        QPainter p(&image);
        prepare(p, scale);
        const QRectF r(0, 0, 400, 45);
        p.fillRect(r, vertical(r, QColor(0x4E, 0x46, 0x3E), QColor(0x2A, 0x25, 0x21)));
        p.fillRect(QRectF(0, 0, 400, 1), QColor(255, 255, 255, 40));
        p.fillRect(QRectF(0, 42, 400, 3), pal::accent());
        p.fillRect(QRectF(0, 41, 400, 1), QColor(0, 0, 0, 90));
    });
}

// ---------------------------------------------------------------------------------------------
// Application pictures: the availability dialog's 256 x 256 pictures and the promotion menu's
// 64 x 64 icons of the same applications.

enum class Tool { None, Chords, Tuner, Metronome, Transposer };

struct AppPicture
{
    const TonarixIdentity::AppLink* app;
    QList<Instrument> instruments;   // empty for the music tools
    Tool tool;
    QColor hue;
};

QList<AppPicture> appPictures()
{
    using namespace TonarixIdentity;
    return {
        {&completeApp, {Instrument::Guitar, Instrument::Violin, Instrument::Banjo}, Tool::None, pal::warm()},
        {&guitarApp, {Instrument::Guitar}, Tool::None, pal::accent()},
        {&ukuleleApp, {Instrument::Ukulele}, Tool::None, QColor(0x2F, 0x8A, 0x6E)},
        {&violinApp, {Instrument::Violin}, Tool::None, QColor(0x8C, 0x3B, 0x2F)},
        {&bassApp, {Instrument::Bass}, Tool::None, QColor(0x34, 0x4E, 0x8C)},
        {&mandolinApp, {Instrument::Mandolin}, Tool::None, QColor(0x6B, 0x4A, 0x8C)},
        {&chordsApp, {}, Tool::Chords, pal::accentDark()},
        {&tunerApp, {}, Tool::Tuner, QColor(0x2F, 0x8A, 0x6E)},
        {&metronomeApp, {}, Tool::Metronome, pal::warm().darker(120)},
        {&transposerApp, {}, Tool::Transposer, QColor(0x34, 0x4E, 0x8C)},
    };
}

void drawTool(QPainter& p, Tool tool, const QRectF& r)
{
    const qreal u = r.width() / 100.0;
    p.save();
    p.translate(r.topLeft());
    p.scale(u, u);
    const QPen ink(pal::bone(), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
    switch (tool) {
    case Tool::Chords:
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(28 + i * 15, 22), QPointF(28 + i * 15, 80));
        for (int j = 0; j < 5; ++j)
            p.drawLine(QPointF(28, 22 + j * 14.5), QPointF(73, 22 + j * 14.5));
        p.setPen(Qt::NoPen);
        p.setBrush(pal::warm());
        p.drawEllipse(QPointF(43, 36), 6, 6);
        p.drawEllipse(QPointF(58, 51), 6, 6);
        p.drawEllipse(QPointF(73, 51), 6, 6);
        break;
    case Tool::Tuner: {
        QPainterPath fork;
        fork.moveTo(38, 18);
        fork.lineTo(38, 52);
        fork.quadTo(38, 64, 50, 64);
        fork.quadTo(62, 64, 62, 52);
        fork.lineTo(62, 18);
        p.drawPath(fork);
        p.drawLine(QPointF(50, 64), QPointF(50, 86));
        p.setPen(QPen(pal::warm(), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(18, 22, 14, 26), 120 * 16, 120 * 16);
        p.drawArc(QRectF(68, 22, 14, 26), -60 * 16, 120 * 16);
        break;
    }
    case Tool::Metronome: {
        QPainterPath body;
        body.moveTo(40, 16);
        body.lineTo(60, 16);
        body.lineTo(76, 86);
        body.lineTo(24, 86);
        body.closeSubpath();
        p.drawPath(body);
        p.drawLine(QPointF(30, 70), QPointF(70, 70));
        p.setPen(QPen(pal::warm(), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(50, 70), QPointF(66, 24));
        p.setBrush(pal::warm());
        p.drawEllipse(QPointF(61, 38), 4, 4);
        break;
    }
    case Tool::Transposer:
        p.drawLine(QPointF(36, 80), QPointF(36, 22));
        p.drawLine(QPointF(24, 34), QPointF(36, 22));
        p.drawLine(QPointF(48, 34), QPointF(36, 22));
        p.setPen(QPen(pal::warm(), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(64, 20), QPointF(64, 78));
        p.drawLine(QPointF(52, 66), QPointF(64, 78));
        p.drawLine(QPointF(76, 66), QPointF(64, 78));
        break;
    case Tool::None:
        break;
    }
    p.restore();
}

// The application's picture: a rounded tile in the application's hue with faint staff lines and
// its instruments or tool in front.
void drawAppPicture(QPainter& p, const QRectF& r, const AppPicture& app)
{
    const qreal u = r.width() / 100.0;
    const QRectF tile = r.adjusted(3 * u, 3 * u, -3 * u, -3 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(tile.translated(0, 1.2 * u), 20 * u, 20 * u);
    QLinearGradient g(tile.topLeft(), tile.bottomRight());
    g.setColorAt(0, app.hue.lighter(135));
    g.setColorAt(1, app.hue.darker(150));
    p.setBrush(g);
    p.setPen(QPen(QColor(255, 255, 255, 70), qMax(1.0, 0.8 * u)));
    p.drawRoundedRect(tile, 20 * u, 20 * u);
    // Staff lines.
    p.setPen(QPen(QColor(255, 255, 255, 55), qMax(0.8, 0.9 * u)));
    for (int i = 0; i < 5; ++i) {
        const qreal y = tile.top() + tile.height() * (0.30 + i * 0.08);
        p.drawLine(QPointF(tile.left() + 8 * u, y), QPointF(tile.right() - 8 * u, y));
    }
    if (app.tool != Tool::None) {
        drawTool(p, app.tool, tile.adjusted(8 * u, 8 * u, -8 * u, -8 * u));
        return;
    }
    const int n = app.instruments.size();
    for (int i = 0; i < n; ++i) {
        const qreal angle = n == 1 ? -30 : -40 + i * 35;
        const qreal dx = n == 1 ? 0 : (i - (n - 1) / 2.0) * 18 * u;
        drawInstrument(p, app.instruments.at(i), tile.adjusted(10 * u + dx, 6 * u, -10 * u + dx, -6 * u), angle);
    }
}

IMAGEGEN_PRODUCER(drawApplicationPictures)
{
    for (const AppPicture& app : appPictures()) {
        if (app.app->picture) {
            QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            prepare(p, 1);
            drawAppPicture(p, QRectF(0, 0, 256, 256), app);
            p.end();
            sink.save(QString::fromLatin1(app.app->picture).mid(2), image);
        }
        sink.saveBoth(QString::fromLatin1(app.app->icon).mid(2), QSize(64, 64), [=](QImage& image, int scale) {
            QPainter p(&image);
            prepare(p, scale);
            drawAppPicture(p, QRectF(0, 0, 64, 64), app);
        });
    }
}


// ---------------------------------------------------------------------------------------------
// Introduction slides (960 x 600 JPEG, in the bundle's resource folder): seven steps through the
// program, each with a title, a drawing of the part of the window it explains and a short text.

struct SlideText
{
    const char* title;
    const char* body;
};

struct SlideLanguage
{
    const char* code;
    SlideText slides[7];
    const char* findNote;
    const char* training;
    const char* start;
    const char* right;
    const char* wrong;
    const char* step;   // "%1 of %2"
};

const SlideLanguage kSlideLanguages[] = {
    {"en",
     {{"Welcome to TonarixLite",
       "Learn where every note of the staff lies on the banjo and the balalaika. Seven short steps show you how."},
      {"Choose your instrument",
       "The column on the left holds the instruments. Banjo and balalaika open their pages; the others tell you where to find them."},
      {"Hover the staff",
       "Move the mouse over the staff: the note follows the pointer, and every position of that note lights up on the fingerboard."},
      {"Click the fingerboard",
       "Click a string at any fret: you hear the note, and the staff shows it with its name."},
      {"Start a training",
       "Press Training above the fingerboard, then Start. The board shows one position of a random note."},
      {"Answer on the keys",
       "Name the note on the twelve keys, laid out like one octave of a piano. The clock runs while you answer."},
      {"Read your report",
       "Right and wrong answers are counted for every note. Practise a little every day and watch the red bars shrink."}},
     "Find Note", "Training", "Start", "Right", "Wrong", "Step %1 of %2"},
    {"de",
     {{"Willkommen bei TonarixLite",
       "Lerne, wo jede Note der Notenzeile auf Banjo und Balalaika liegt. Sieben kurze Schritte zeigen dir, wie es geht."},
      {"Wähle dein Instrument",
       "Links stehen die Instrumente. Banjo und Balalaika öffnen ihre Seiten; die anderen zeigen dir, wo es sie gibt."},
      {"Fahre über die Notenzeile",
       "Bewege die Maus über die Notenzeile: Die Note folgt dem Zeiger, und jede Lage dieser Note leuchtet auf dem Griffbrett auf."},
      {"Klicke auf das Griffbrett",
       "Klicke eine Saite in einem beliebigen Bund an: Du hörst den Ton, und die Notenzeile zeigt ihn mit seinem Namen."},
      {"Starte ein Training",
       "Drücke „Training“ über dem Griffbrett und dann „Start“. Das Griffbrett zeigt eine Lage einer zufälligen Note."},
      {"Antworte auf den Tasten",
       "Benenne die Note auf den zwölf Tasten, angeordnet wie eine Oktave am Klavier. Die Uhr läuft, während du antwortest."},
      {"Lies deine Auswertung",
       "Richtige und falsche Antworten werden für jede Note gezählt. Übe jeden Tag ein wenig und sieh zu, wie die roten Balken schrumpfen."}},
     "Note finden", "Training", "Start", "Richtig", "Falsch", "Schritt %1 von %2"},
    {"ru",
     {{"Добро пожаловать в TonarixLite",
       "Узнайте, где каждая нота нотного стана находится на банджо и балалайке. Семь коротких шагов покажут, как это работает."},
      {"Выберите инструмент",
       "Слева — колонка инструментов. Банджо и балалайка открывают свои страницы; остальные подскажут, где их найти."},
      {"Наведите мышь на нотный стан",
       "Нота следует за указателем, а все позиции этой ноты загораются на грифе."},
      {"Нажмите на гриф",
       "Щёлкните по струне на любом ладу: вы услышите ноту, а нотный стан покажет её с названием."},
      {"Начните тренировку",
       "Нажмите «Тренировка» над грифом, затем «Старт». На грифе появится одна позиция случайной ноты."},
      {"Отвечайте клавишами",
       "Назовите ноту на двенадцати клавишах, расположенных как октава фортепиано. Пока вы отвечаете, идут часы."},
      {"Смотрите отчёт",
       "Верные и неверные ответы считаются для каждой ноты. Занимайтесь понемногу каждый день — и красные столбики станут короче."}},
     "Найти ноту", "Тренировка", "Старт", "Верно", "Неверно", "Шаг %1 из %2"},
};

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

void card(QPainter& p, const QRectF& r, const QColor& fill, qreal radius = 12)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.translated(0, 3), radius, radius);
    p.setPen(QPen(pal::line(), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

// Five staff lines in `r` with a treble clef; returns the line spacing.
qreal drawStaff(QPainter& p, const QRectF& r)
{
    card(p, r, Qt::white);
    const qreal gap = r.height() / 8;
    const qreal top = r.top() + gap * 2;
    p.setPen(QPen(pal::panelDark(), 1.4));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(r.left() + 16, top + i * gap), QPointF(r.right() - 16, top + i * gap));
    QFont clef(pal::musicFamily());
    clef.setPixelSize(int(gap * 6.4));
    p.setFont(clef);
    p.setPen(pal::panelDark());
    p.drawText(QRectF(r.left() + 16, top - gap * 2.6, gap * 5, gap * 9), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUcs4(U"\U0001D11E"));
    return gap;
}

// A note head on the staff at `step` half-spaces below the top line.
void drawNoteHead(QPainter& p, const QRectF& staff, qreal x, int step, const QColor& colour)
{
    const qreal gap = staff.height() / 8;
    const qreal y = staff.top() + gap * 2 + step * gap / 2;
    p.save();
    p.translate(x, y);
    p.rotate(-20);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(0, 0), gap * 0.68, gap * 0.48);
    p.restore();
    p.setPen(QPen(colour, 1.6));
    p.drawLine(QPointF(x + gap * 0.6, y - 1), QPointF(x + gap * 0.6, y - gap * 3.3));
}

// A stylised fingerboard: `strings` strings over `frets` frets, returning the centre of a
// position (string s from the top, fret f, 0 the open string by the nut).
struct MiniBoard
{
    QRectF r;
    int strings;
    int frets;
    QPointF position(int s, int f) const
    {
        const qreal fw = (r.width() - 24) / frets;
        const qreal x = f == 0 ? r.left() + 10 : r.left() + 24 + (f - 0.5) * fw;
        const qreal y = r.top() + r.height() * (s + 1) / (strings + 1);
        return QPointF(x, y);
    }
};

void drawMiniBoard(QPainter& p, const MiniBoard& b)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(b.r.translated(0, 4), 8, 8);
    p.setBrush(vertical(b.r, pal::rosewoodLight(), pal::rosewood()));
    p.drawRoundedRect(b.r, 8, 8);
    p.setBrush(pal::bone());
    p.drawRect(QRectF(b.r.left() + 18, b.r.top(), 6, b.r.height()));
    const qreal fw = (b.r.width() - 24) / b.frets;
    p.setPen(QPen(pal::fretSilver(), 2.5));
    for (int f = 1; f <= b.frets; ++f)
        p.drawLine(QPointF(b.r.left() + 24 + f * fw, b.r.top() + 2), QPointF(b.r.left() + 24 + f * fw, b.r.bottom() - 2));
    p.setPen(Qt::NoPen);
    p.setBrush(pal::bone());
    for (int f : {3, 5, 7, 9}) {
        if (f <= b.frets)
            p.drawEllipse(QPointF(b.r.left() + 24 + (f - 0.5) * fw, b.r.center().y()), 4, 4);
    }
    for (int s = 0; s < b.strings; ++s) {
        const qreal y = b.position(s, 1).y();
        p.setPen(QPen(pal::string(), 1.2 + s * 0.35));
        p.drawLine(QPointF(b.r.left() + 18, y), QPointF(b.r.right(), y));
    }
}

void drawMark(QPainter& p, const QPointF& c, qreal radius = 9)
{
    p.setPen(QPen(pal::markRing(), 2));
    p.setBrush(pal::mark());
    p.drawEllipse(c, radius, radius);
}

void drawPointer(QPainter& p, const QPointF& tip)
{
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 26);
    arrow.lineTo(7, 20);
    arrow.lineTo(12, 31);
    arrow.lineTo(17, 29);
    arrow.lineTo(12, 18);
    arrow.lineTo(21, 18);
    arrow.closeSubpath();
    p.save();
    p.translate(tip);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    p.restore();
}

void drawCaptionedButton(QPainter& p, const QRectF& r, bool left, bool checked, const QString& text)
{
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / 96.0, r.height() / 32.0);
    drawDual(p, left, checked);
    p.restore();
    p.setFont(pal::textFont(15, QFont::Bold));
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

void drawSlideArt(QPainter& p, int index, const QRectF& area, const SlideLanguage& lang)
{
    switch (index) {
    case 0: {
        AppPicture picture{&TonarixIdentity::completeApp, {Instrument::Banjo, Instrument::Balalaika}, Tool::None, pal::accent()};
        drawAppPicture(p, QRectF(area.center().x() - 150, area.top() + 10, 300, 300), picture);
        drawInstrument(p, Instrument::Banjo, QRectF(area.left() + 40, area.top() + 40, 240, 240), -20);
        drawInstrument(p, Instrument::Balalaika, QRectF(area.right() - 280, area.top() + 40, 240, 240), 20);
        break;
    }
    case 1: {
        const QRectF column(area.left() + 120, area.top(), 120, area.height());
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 2));
        p.setBrush(QColor(40, 40, 40));
        p.drawRoundedRect(column, 8, 8);
        const Instrument order[] = {Instrument::Banjo, Instrument::Balalaika, Instrument::Guitar, Instrument::Bass};
        for (int i = 0; i < 4; ++i) {
            const QRectF tile(column.center().x() - 32, column.top() + 14 + i * 78, 64, 64);
            drawItemTile(p, tile, order[i], i == 0 ? TileState::Checked : TileState::Normal);
        }
        // The page beside it: a staff above a fingerboard.
        const QRectF page(column.right() + 30, area.top() + 10, area.right() - column.right() - 150, area.height() - 20);
        card(p, page, QColor(71, 71, 100));
        drawStaff(p, QRectF(page.left() + 20, page.top() + 20, page.width() - 40, 130));
        drawMiniBoard(p, {QRectF(page.left() + 20, page.top() + 175, page.width() - 40, 110), 5, 9});
        drawPointer(p, QPointF(column.center().x() + 18, column.top() + 58));
        break;
    }
    case 2:
    case 3: {
        const QRectF staff(area.left() + 140, area.top(), area.width() - 280, 130);
        drawStaff(p, staff);
        const MiniBoard board{QRectF(area.left() + 60, area.top() + 170, area.width() - 120, 150), 5, 10};
        drawMiniBoard(p, board);
        // E4 on the staff (bottom line) lies at these banjo positions.
        const int step = 8;
        drawNoteHead(p, staff, staff.center().x(), step, index == 2 ? pal::accent() : pal::panelDark());
        if (index == 2) {
            drawMark(p, board.position(2, 2));
            drawMark(p, board.position(3, 7));
            drawMark(p, board.position(4, 4));
            drawPointer(p, QPointF(staff.center().x() + 8, staff.top() + staff.height() / 8 * 6 + 6));
        } else {
            const QPointF at = board.position(2, 2);
            drawMark(p, at, 11);
            p.setPen(QPen(pal::accent(), 3, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            for (int w = 1; w <= 3; ++w)
                p.drawArc(QRectF(at.x() - 14 - w * 12, at.y() - 14 - w * 12, 28 + w * 24, 28 + w * 24), 20 * 16, 50 * 16);
            drawPointer(p, at + QPointF(2, 2));
            p.setFont(pal::textFont(26, QFont::Bold));
            p.setPen(pal::accentDark());
            p.drawText(QRectF(staff.right() - 130, staff.top() + 8, 110, 34), Qt::AlignRight | Qt::AlignVCenter, "E4");
        }
        break;
    }
    case 4: {
        const MiniBoard board{QRectF(area.left() + 60, area.top() + 90, area.width() - 280, 200), 4, 9};
        drawMiniBoard(p, board);
        const qreal cx = board.r.center().x();
        drawCaptionedButton(p, QRectF(cx - 144, area.top() + 20, 144, 44), true, false, u8(lang.findNote));
        drawCaptionedButton(p, QRectF(cx, area.top() + 20, 144, 44), false, true, u8(lang.training));
        drawMark(p, board.position(1, 5), 11);
        const QRectF round(area.right() - 180, area.top() + 130, 120, 120);
        p.save();
        p.translate(round.topLeft());
        p.scale(round.width() / 64.0, round.height() / 64.0);
        drawRound(p, false);
        p.restore();
        p.setFont(pal::textFont(22, QFont::Bold));
        p.setPen(Qt::white);
        p.drawText(round, Qt::AlignCenter, u8(lang.start));
        drawPointer(p, round.center() + QPointF(18, 22));
        break;
    }
    case 5: {
        const qreal keyW = 64;
        const qreal whiteLeft = area.center().x() - keyW * 3.5;
        const char* whites[] = {"C", "D", "E", "F", "G", "A", "B"};
        const char* blacks[] = {"C#", "D#", "", "F#", "G#", "A#"};
        for (int i = 0; i < 7; ++i) {
            const QRectF r(whiteLeft + i * keyW, area.top() + 190, keyW - 4, keyW - 4);
            p.save();
            p.translate(r.topLeft());
            p.scale(r.width() / 44.0, r.height() / 44.0);
            drawKey(p, false, i == 4 ? KeyState::Hover : KeyState::Normal);
            p.restore();
            p.setFont(pal::textFont(20, QFont::Bold));
            p.setPen(Qt::black);
            p.drawText(r, Qt::AlignCenter, whites[i]);
        }
        for (int i = 0; i < 6; ++i) {
            if (!*blacks[i])
                continue;
            const QRectF r(whiteLeft + (i + 0.5) * keyW, area.top() + 120, keyW - 4, keyW - 4);
            p.save();
            p.translate(r.topLeft());
            p.scale(r.width() / 44.0, r.height() / 44.0);
            drawKey(p, true, KeyState::Normal);
            p.restore();
            p.setFont(pal::textFont(18, QFont::Bold));
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignCenter, blacks[i]);
        }
        drawPointer(p, QPointF(whiteLeft + 4.5 * keyW, area.top() + 230));
        card(p, QRectF(area.center().x() - 110, area.top() + 20, 220, 70), Qt::white);
        p.setFont(pal::textFont(34, QFont::Bold));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.center().x() - 110, area.top() + 20, 220, 70), Qt::AlignCenter, "00:00:12");
        break;
    }
    case 6: {
        const QRectF chart(area.left() + 80, area.top(), area.width() - 160, area.height() - 10);
        card(p, chart, Qt::white);
        const char* names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
        const int right[] = {9, 4, 8, 3, 7, 8, 2, 9, 3, 6, 4, 7};
        const int wrong[] = {1, 3, 2, 4, 1, 2, 5, 0, 3, 2, 2, 1};
        const qreal slot = (chart.width() - 60) / 12;
        const qreal base = chart.bottom() - 40;
        const qreal unit = (chart.height() - 110) / 10;
        p.setFont(pal::textFont(16, QFont::Bold));
        for (int i = 0; i < 12; ++i) {
            const qreal x = chart.left() + 30 + i * slot;
            p.setPen(Qt::NoPen);
            p.setBrush(pal::good());
            p.drawRoundedRect(QRectF(x + slot * 0.12, base - right[i] * unit, slot * 0.36, right[i] * unit), 3, 3);
            p.setBrush(pal::bad());
            p.drawRoundedRect(QRectF(x + slot * 0.52, base - wrong[i] * unit, slot * 0.36, wrong[i] * unit), 3, 3);
            p.setPen(pal::panelDark());
            p.drawText(QRectF(x, base + 6, slot, 26), Qt::AlignCenter, names[i]);
        }
        p.setPen(QPen(pal::line(), 1.5));
        p.drawLine(QPointF(chart.left() + 24, base), QPointF(chart.right() - 24, base));
        // Legend.
        p.setFont(pal::textFont(16));
        const QString labels[] = {u8(lang.right), u8(lang.wrong)};
        const QColor colours[] = {pal::good(), pal::bad()};
        for (int i = 0; i < 2; ++i) {
            const QPointF at(chart.right() - 250 + i * 120, chart.top() + 18);
            p.setPen(Qt::NoPen);
            p.setBrush(colours[i]);
            p.drawRoundedRect(QRectF(at, QSizeF(18, 18)), 3, 3);
            p.setPen(pal::panelDark());
            p.drawText(QRectF(at + QPointF(24, -4), QSizeF(96, 26)), Qt::AlignLeft | Qt::AlignVCenter, labels[i]);
        }
        break;
    }
    }
}

QImage drawSlide(int index, const SlideLanguage& lang)
{
    const QSize size(960, 600);
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p, 1);
    const QRectF all(QPointF(0, 0), size);
    p.fillRect(all, vertical(all, mix(pal::paper(), Qt::white, 0.4), pal::panel()));

    // Title band with the step counter.
    const QRectF band(0, 0, size.width(), 104);
    p.fillRect(band, vertical(band, QColor(0x4E, 0x46, 0x3E), QColor(0x2A, 0x25, 0x21)));
    p.fillRect(QRectF(0, band.bottom() - 4, size.width(), 4), pal::accent());
    p.setPen(QPen(pal::bone(), 2));
    p.setBrush(pal::accent());
    p.drawEllipse(QPointF(62, 52), 28, 28);
    p.setFont(pal::textFont(28, QFont::Bold));
    p.setPen(Qt::white);
    p.drawText(QRectF(34, 24, 56, 56), Qt::AlignCenter, QString::number(index + 1));
    p.setFont(pal::textFont(34, QFont::Bold));
    p.setPen(pal::bone());
    p.drawText(QRectF(112, 12, 720, 60), Qt::AlignLeft | Qt::AlignVCenter, u8(lang.slides[index].title));
    p.setFont(pal::textFont(16));
    p.setPen(pal::disabled());
    p.drawText(QRectF(112, 62, 720, 28), Qt::AlignLeft | Qt::AlignVCenter,
               u8(lang.step).arg(index + 1).arg(7));

    drawSlideArt(p, index, QRectF(40, 136, 880, 330), lang);

    // The text under the drawing.
    const QRectF textBox(70, 484, 820, 96);
    p.setFont(pal::textFont(23));
    p.setPen(pal::panelDark());
    p.drawText(textBox, Qt::AlignCenter | Qt::TextWordWrap, u8(lang.slides[index].body));
    return image;
}

IMAGEGEN_PRODUCER(drawIntroductionSlides)
{
    for (const SlideLanguage& lang : kSlideLanguages) {
        for (int i = 0; i < 7; ++i)
            sink.saveBundle(QStringLiteral("TXLSlide%1_%2.jpg").arg(i).arg(QLatin1String(lang.code)), drawSlide(i, lang));
    }
}

} // namespace
