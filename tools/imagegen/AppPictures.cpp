// The application's own pictures: the instrument column's buttons, the staff papers, the trainer's
// keys and buttons, the accidental buttons, the Get It faces, the page bar's background and the
// application pictures of the availability dialog and the promotion menu. The drawings the
// introduction slides reuse are declared in AppFaces.h.
#include "AppFaces.h"
#include "ImageSink.h"
#include "Palette.h"
#include "Shapes.h"

#include "../../app/TonarixIdentity.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

namespace imagegen {
namespace faces {

namespace pal = imagegen::palette;

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

// ---------------------------------------------------------------------------------------------
// Instruments, drawn upright in a 100 x 100 box (head at the top, body at the bottom).

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
        s.body = ellipsePath(50, 62, 15, 13).united(ellipsePath(50, 80, 19, 16)).united(QPainterPath());
        s.neck = roundedRectPath(QRectF(46, 10, 8, 48), 2).united(roundedRectPath(QRectF(44, 2, 12, 12), 3));
        s.hole = ellipsePath(50, 70, 6, 6);
        s.strings = 6;
        s.neckTop = 8; s.neckBottom = 88; s.neckHalf = 3.5;
        break;
    case Instrument::Bass:
        s.body = ellipsePath(50, 72, 16, 14).united(ellipsePath(50, 86, 19, 12));
        s.body = s.body.subtracted(ellipsePath(39, 58, 5, 7)).subtracted(ellipsePath(61, 60, 4, 6));
        s.neck = roundedRectPath(QRectF(46.5, 8, 7, 62), 2).united(roundedRectPath(QRectF(44, 1, 12, 11), 3));
        s.hole = roundedRectPath(QRectF(42, 78, 16, 4), 2);
        s.strings = 4;
        s.neckTop = 6; s.neckBottom = 90; s.neckHalf = 3.2;
        break;
    case Instrument::Ukulele:
        s.body = ellipsePath(50, 66, 12, 11).united(ellipsePath(50, 81, 16, 14));
        s.neck = roundedRectPath(QRectF(46.5, 22, 7, 40), 2).united(roundedRectPath(QRectF(44.5, 13, 11, 12), 3));
        s.hole = ellipsePath(50, 72, 5, 5);
        s.strings = 4;
        s.neckTop = 18; s.neckBottom = 90; s.neckHalf = 3;
        break;
    case Instrument::Violin: {
        QPainterPath upper = ellipsePath(50, 60, 14, 12);
        QPainterPath lower = ellipsePath(50, 82, 17, 14);
        QPainterPath waist;
        waist.addRect(QRectF(40, 62, 20, 18));
        s.body = upper.united(lower).united(waist);
        s.body = s.body.subtracted(ellipsePath(33.5, 71, 5, 6)).subtracted(ellipsePath(66.5, 71, 5, 6));
        s.neck = roundedRectPath(QRectF(47, 12, 6, 52), 2).united(ellipsePath(50, 8, 5, 6));
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
        s.neck = roundedRectPath(QRectF(46.5, 16, 7, 40), 2).united(roundedRectPath(QRectF(43.5, 6, 13, 13), 3));
        s.hole = ellipsePath(50, 70, 5.5, 5.5);
        s.strings = 4;
        s.neckTop = 12; s.neckBottom = 88; s.neckHalf = 3;
        break;
    }
    case Instrument::Banjo:
        s.body = ellipsePath(50, 74, 21, 21);
        s.neck = roundedRectPath(QRectF(46.5, 8, 7, 50), 2).united(roundedRectPath(QRectF(44.5, 0, 11, 11), 3));
        s.neck = s.neck.united(ellipsePath(56.5, 30, 2.4, 2.4));   // the short fifth string's peg
        s.hole = ellipsePath(50, 74, 17.5, 17.5);
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
        s.neck = roundedRectPath(QRectF(47, 8, 6, 44), 2).united(roundedRectPath(QRectF(44.5, 0, 11, 11), 3));
        s.hole = ellipsePath(50, 76, 4, 4);
        s.strings = 3;
        s.neckTop = 6; s.neckBottom = 92; s.neckHalf = 2.6;
        break;
    }
    }
    return s;
}

// Draws the instrument into `box`, tilted by `angle` degrees. `light` draws on dark grounds.
void drawInstrument(QPainter& p, Instrument which, const QRectF& box, qreal angle, bool vivid)
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
    p.setBrush(verticalGradient(QRectF(0, 0, 100, 60), pal::rosewoodLight(), pal::rosewood()));
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
};

const ItemFace kItems[] = {
    {"BanjoItem", Instrument::Banjo},     {"BalalaikaItem", Instrument::Balalaika}, {"GuitarItem", Instrument::Guitar},
    {"BassItem", Instrument::Bass},       {"UkuleleItem", Instrument::Ukulele},     {"ViolinItem", Instrument::Violin},
    {"MandolinItem", Instrument::Mandolin},
};

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
    p.setBrush(verticalGradient(tile, top, bottom));
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
                prepareScaled(p, scale);
                drawItemTile(p, QRectF(0, 0, 64, 64), item.instrument, state);
            };
        };
        sink.saveBoth(base + ".png", QSize(64, 64), face(TileState::Normal));
        sink.saveBoth(base + "_hover.png", QSize(64, 64), face(TileState::Hover));
        // Only banjo and balalaika stay checked in this edition; the sheet names all seven faces.
        sink.saveBoth(base + "_checked.png", QSize(64, 64), face(TileState::Checked));
    }
}

// ---------------------------------------------------------------------------------------------
// Staff papers: warm paper with a faint grain, a tint per instrument.

void drawPaper(QPainter& p, const QRectF& r, const QColor& tint, quint32 seed)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, verticalGradient(r, mix(pal::paper(), Qt::white, 0.5), mix(pal::paper(), tint, 0.10)));
    QRandomGenerator rng(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < int(r.width() * r.height() / 60); ++i) {
        const qreal x = r.left() + rng.bounded(r.width());
        const qreal y = r.top() + rng.bounded(r.height());
        p.setBrush(QColor(tint.red(), tint.green(), tint.blue(), 6 + int(rng.bounded(10))));
        p.drawEllipse(QPointF(x, y), 0.6 + rng.bounded(1.4), 0.4);
    }
    // A soft vignette towards the edges.
    QRadialGradient vignette(r.center(), r.width() * 0.65);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(tint.red() / 2, tint.green() / 2, tint.blue() / 2, 38));
    p.fillRect(r, vignette);
    p.restore();
}

// The staff papers of every instrument page the style sheet knows, each in its instrument's tint.
IMAGEGEN_PRODUCER(drawStaffPapers)
{
    const struct
    {
        const char* name;
        QColor tint;
        quint32 seed;
    } papers[] = {
        {"banjopaper.jpg", pal::maple(), 7},         {"balalaikapaper.jpg", pal::warm(), 11},
        {"guitarpaper.jpg", pal::rosewoodLight(), 13}, {"ukupaper.jpg", QColor(0x2F, 0x8A, 0x6E), 17},
        {"violinpaper.jpg", QColor(0x8C, 0x3B, 0x2F), 19}, {"mandolinpaper.jpg", QColor(0x6B, 0x4A, 0x8C), 23},
        {"basspaper.jpg", QColor(0x34, 0x4E, 0x8C), 29},
    };
    for (const auto& paper : papers) {
        const QColor tint = paper.tint;
        const quint32 seed = paper.seed;
        sink.saveBoth(paper.name, QSize(800, 300), [=](QImage& image, int scale) {
            image.fill(Qt::white);
            QPainter p(&image);
            prepareScaled(p, scale);
            drawPaper(p, QRectF(0, 0, 800, 300), tint, seed);
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Trainer: answer keys (44 x 44), the round start button (64 x 64), the board's two-part switch
// (96 x 32 halves).

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
    p.setBrush(verticalGradient(r, top, bottom));
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
    p.setBrush(verticalGradient(r, top, bottom));
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
                prepareScaled(p, scale);
                drawKey(p, black, state);
            });
        }
    }
    for (bool checked : {false, true}) {
        sink.saveBoth(checked ? "RoundButton_checked.png" : "RoundButton.png", QSize(64, 64),
                      [=](QImage& image, int scale) {
                          QPainter p(&image);
                          prepareScaled(p, scale);
                          drawRound(p, checked);
                      });
        for (bool left : {true, false}) {
            const QString name = QString(left ? "DualButtonLeft" : "DualButtonRight") + (checked ? "_checked" : "") + ".png";
            sink.saveBoth(name, QSize(96, 32), [=](QImage& image, int scale) {
                QPainter p(&image);
                prepareScaled(p, scale);
                drawDual(p, left, checked);
            });
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Accidental buttons (32 x 32): the sign, and a framed twin for the pressed or chosen state.

void drawAccidental(QPainter& p, QChar sign, bool framed)
{
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
    p.drawText(r.adjusted(0, -3, 0, 0), Qt::AlignCenter, QString(sign));
}

IMAGEGEN_PRODUCER(drawAccidentalButtons)
{
    const std::pair<const char*, QChar> signs[] = {
        {"flatsign", QChar(0x266D)}, {"sharpsign", QChar(0x266F)}, {"naturalsign", QChar(0x266E)}};
    for (const auto& sign : signs) {
        for (bool framed : {false, true}) {
            const QChar glyph = sign.second;
            sink.saveBoth(QLatin1String(sign.first) + (framed ? "_framed.png" : ".png"), QSize(32, 32),
                          [=](QImage& image, int scale) {
                              QPainter p(&image);
                              prepareScaled(p, scale);
                              drawAccidental(p, glyph, framed);
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
            prepareScaled(p, scale);
            const QRectF r(1, 1, 98, 41);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 80));
            p.drawRoundedRect(r.translated(0, 1.5), 20, 20);
            p.setPen(QPen(pal::accentDark().darker(150), 1));
            p.setBrush(verticalGradient(r, top, bottom));
            p.drawRoundedRect(r, 20, 20);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 45));
            p.drawRoundedRect(QRectF(r.left() + 8, r.top() + 2, r.width() - 16, 14), 7, 7);
        });
    }
    sink.saveBoth("backgroundbar.png", QSize(400, 45), [](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        const QRectF r(0, 0, 400, 45);
        p.fillRect(r, verticalGradient(r, QColor(0x4E, 0x46, 0x3E), QColor(0x2A, 0x25, 0x21)));
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
            prepareScaled(p, 1);
            drawAppPicture(p, QRectF(0, 0, 256, 256), app);
            p.end();
            sink.save(QString::fromLatin1(app.app->picture).mid(2), image);
        }
        sink.saveBoth(QString::fromLatin1(app.app->icon).mid(2), QSize(64, 64), [=](QImage& image, int scale) {
            QPainter p(&image);
            prepareScaled(p, scale);
            drawAppPicture(p, QRectF(0, 0, 64, 64), app);
        });
    }
}

} // namespace faces
} // namespace imagegen
