// The chord book's pictures, drawn from the chord tables the chord pages compile
// (RIRurud/ChordTables.h), so that there is a picture for every code a page can ask for and each
// shows the very keys or frets the page sounds:
//  - the piano's key pictures: "a_<code>.png" (keyboard with the chord's keys marked) and
//    "b_<code>.png" (keyboard with the names of the chord's keys), code = twelve characters, "0"
//    for a pressed pitch class from C up, "X" for the others;
//  - the hand pictures: "piano_<code>.jpg" (a hand on the keys) and "ukulele_<frets>.jpg" (a hand
//    on the fingerboard);
//  - the chord pages' faces: the play button, the instrument labels, the tab bar's arrows, the
//    favourites menu's icons and the pocket devices' panel background.
#include "ImageSink.h"
#include "IndexedImage.h"
#include "Palette.h"
#include "Shapes.h"
#include "UkulelePhotoLayout.h"

#include "RIRurud/ChordTables.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

using namespace imagegen;
namespace pal = imagegen::palette;
namespace tables = RIRurud::ChordTables;

const QString kChordFolder = QStringLiteral("_resources/imgs/Chords/");

// ------------------------------------------------------------------------------------------------
// The codes the tables use.

using PitchClasses = std::array<bool, 12>;

// Piano: key code -> the pitch classes it presses.
std::map<QString, PitchClasses> pianoCodes()
{
    std::map<QString, PitchClasses> codes;
    for (const auto& row : tables::kPiano) {
        int tab[tables::kPianoKeys];
        tables::pianoTab(row, tab);
        char code[13];
        tables::pianoKeyCode(tab, tables::kPianoKeys, code);
        PitchClasses pressed{};
        for (int k = 0; k < 12; ++k)
            pressed[k] = code[k] == '0';
        codes[QString::fromLatin1(code)] = pressed;
    }
    return codes;
}

// Ukulele: string code -> the frets of strings 1 to 4.
std::map<QString, std::array<int, tables::kUkuleleStrings>> ukuleleCodes()
{
    std::map<QString, std::array<int, tables::kUkuleleStrings>> codes;
    for (const auto& row : tables::kUkulele) {
        std::array<int, tables::kUkuleleStrings> frets{};
        for (int s = 0; s < tables::kUkuleleStrings; ++s)
            frets[s] = row[s];
        char code[tables::kUkuleleStrings * 11 + 1];
        tables::stringCode(frets.data(), frets.size(), code);
        codes[QString::fromLatin1(code)] = frets;
    }
    return codes;
}

// ------------------------------------------------------------------------------------------------
// One octave of keys, C to B (and, for the hand pictures, the next C), in a rectangle.

constexpr int kWhitePitch[7] = {0, 2, 4, 5, 7, 9, 11};
// Black keys: pitch class, the white key they follow, and their shift off the boundary (in white
// key widths), as on a real keyboard.
struct BlackKey
{
    int pitch;
    int afterWhite;
    qreal shift;
};
constexpr BlackKey kBlackKeys[5] = {{1, 0, -0.10}, {3, 1, 0.10}, {6, 3, -0.13}, {8, 4, 0.0}, {10, 5, 0.13}};

struct Keyboard
{
    QRectF area;         // the white keys
    int whiteCount = 7;
    qreal blackWidth = 0.58;   // of a white key
    qreal blackLength = 0.62;  // of the keys' length

    qreal whiteWidth() const { return area.width() / whiteCount; }
    QRectF white(int i) const
    {
        return QRectF(area.left() + i * whiteWidth(), area.top(), whiteWidth(), area.height());
    }
    QRectF black(const BlackKey& b) const
    {
        const qreal w = whiteWidth() * blackWidth;
        const qreal centre = area.left() + (b.afterWhite + 1 + b.shift) * whiteWidth();
        return QRectF(centre - w / 2, area.top(), w, area.height() * blackLength);
    }
    // Where a finger or a mark goes on the key of a pitch class: the front of a white key, the
    // front end of a black one.
    QPointF touch(int pitch, qreal whiteDepth = 0.78, qreal blackDepth = 0.80) const
    {
        for (const BlackKey& b : kBlackKeys) {
            if (b.pitch == pitch) {
                const QRectF r = black(b);
                return QPointF(r.center().x(), r.top() + r.height() * blackDepth);
            }
        }
        const int i = int(std::find(std::begin(kWhitePitch), std::end(kWhitePitch), pitch) - std::begin(kWhitePitch));
        const QRectF r = white(i);
        return QPointF(r.center().x(), r.top() + r.height() * whiteDepth);
    }
};

bool isBlack(int pitch)
{
    return std::any_of(std::begin(kBlackKeys), std::end(kBlackKeys), [pitch](const BlackKey& b) { return b.pitch == pitch; });
}

QPainterPath keyShape(const QRectF& r, qreal radius)
{
    // Square at the back, rounded at the front.
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.topRight());
    path.lineTo(r.right(), r.bottom() - radius);
    path.quadTo(r.bottomRight(), QPointF(r.right() - radius, r.bottom()));
    path.lineTo(r.left() + radius, r.bottom());
    path.quadTo(r.bottomLeft(), QPointF(r.left(), r.bottom() - radius));
    path.closeSubpath();
    return path;
}

const QColor kKeyEdge(0x3A, 0x33, 0x2C);
const QColor kEbonyTop(0x4A, 0x43, 0x3C);
const QColor kEbony(0x1F, 0x1B, 0x18);

// The key pictures are 1000 x 500: the top quarter stays free for the chord's name, which the
// widget writes over it.
constexpr QSize kKeyPicture(1000, 500);
const QRectF kKeyArea(70, 168, 860, 306);

void drawKeyBed(QPainter& p, const Keyboard& kb)
{
    // The strip of wood behind the keys, with its felt.
    const QRectF strip(kb.area.left() - 14, kb.area.top() - 22, kb.area.width() + 28, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(strip, pal::rosewoodLight(), pal::rosewood()));
    p.drawRoundedRect(strip, 6, 6);
    p.setBrush(QColor(0x8C, 0x2A, 0x25));
    p.drawRect(QRectF(kb.area.left(), strip.bottom() - 5, kb.area.width(), 5));
}

// Diagram: the keys as they look, the chord's keys tinted and marked with a dot.
QImage drawKeyDiagram(const PitchClasses& pressed)
{
    QImage image(kKeyPicture, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    prepareScaled(p, 1);
    const Keyboard kb{kKeyArea};
    drawKeyBed(p, kb);

    const qreal ww = kb.whiteWidth();
    for (int i = 0; i < 7; ++i) {
        const QRectF r = kb.white(i);
        const bool on = pressed[kWhitePitch[i]];
        p.setPen(QPen(kKeyEdge, 2.5));
        p.setBrush(on ? verticalGradient(r, QColor(0xD6, 0xEC, 0xEF), QColor(0xA9, 0xD5, 0xDC))
                      : verticalGradient(r, pal::paper(), QColor(0xE9, 0xE1, 0xD1)));
        p.drawPath(keyShape(r, 10));
    }
    for (const BlackKey& b : kBlackKeys) {
        const QRectF r = kb.black(b);
        const bool on = pressed[b.pitch];
        p.setPen(QPen(kEbony, 2));
        p.setBrush(on ? verticalGradient(r, pal::accentDark(), pal::accent()) : verticalGradient(r, kEbony, kEbonyTop));
        p.drawPath(keyShape(r, 6));
        // The lit bevel at the front.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, on ? 60 : 35));
        p.drawRoundedRect(QRectF(r.left() + 5, r.bottom() - 22, r.width() - 10, 14), 4, 4);
    }
    // The marks: a teal dot ringed in ivory on every pressed key.
    for (int pitch = 0; pitch < 12; ++pitch) {
        if (!pressed[pitch])
            continue;
        const QPointF c = kb.touch(pitch, 0.80, 0.66);
        const qreal r = ww * (isBlack(pitch) ? 0.20 : 0.24);
        p.setPen(QPen(pal::markRing(), 4));
        p.setBrush(isBlack(pitch) ? pal::warm() : pal::accent());
        p.drawEllipse(c, r, r);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 90));
        p.drawEllipse(c - QPointF(r * 0.3, r * 0.35), r * 0.35, r * 0.28);
    }
    return image;
}

// Tablature: a flat chart of the octave with every key's name; the chord's keys in teal with their
// names in white.
QImage drawKeyNames(const PitchClasses& pressed)
{
    static const char* const kWhiteNames[7] = {"C", "D", "E", "F", "G", "A", "B"};
    static const char* const kSharpNames[5] = {"C", "D", "F", "G", "A"};
    static const char* const kFlatNames[5] = {"D", "E", "G", "A", "B"};

    QImage image(kKeyPicture, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    prepareScaled(p, 1);
    const Keyboard kb{kKeyArea, 7, 0.62, 0.58};
    const qreal ww = kb.whiteWidth();

    for (int i = 0; i < 7; ++i) {
        const QRectF r = kb.white(i);
        const bool on = pressed[kWhitePitch[i]];
        p.setPen(QPen(pal::line(), 2));
        p.setBrush(on ? QBrush(pal::accent()) : QBrush(pal::paper()));
        p.drawRect(r.adjusted(1, 1, -1, -1));
        p.setFont(pal::textFont(on ? 54 : 42, on ? QFont::Bold : QFont::Normal));
        p.setPen(on ? Qt::white : pal::disabled());
        p.drawText(QRectF(r.left(), r.bottom() - 96, r.width(), 80), Qt::AlignCenter, QString::fromLatin1(kWhiteNames[i]));
    }
    for (int b = 0; b < 5; ++b) {
        const BlackKey& key = kBlackKeys[b];
        const QRectF r = kb.black(key);
        const bool on = pressed[key.pitch];
        p.setPen(QPen(on ? pal::accentDark() : kKeyEdge, 2));
        p.setBrush(on ? pal::accentDark() : pal::panelDark());
        p.drawRect(r);
        // Both names of a black key, the sharp above the flat.
        p.setFont(pal::textFont(on ? 30 : 24, on ? QFont::Bold : QFont::Normal));
        p.setPen(on ? Qt::white : QColor(0x8A, 0x81, 0x78));
        const QString names = QString::fromLatin1(kSharpNames[b]) + QChar(0x266F) + QLatin1Char('\n')
            + QString::fromLatin1(kFlatNames[b]) + QChar(0x266D);
        p.drawText(QRectF(r.left() - ww * 0.1, r.bottom() - 104, r.width() + ww * 0.2, 96), Qt::AlignCenter, names);
    }
    return image;
}

// ------------------------------------------------------------------------------------------------
// Hands. A hand is one outline, the back of the hand united with its fingers, filled with skin and
// shaded; each finger is a tapering stroke from its knuckle to its tip.

const QColor kSkin(0xE9, 0xB9, 0x97);
const QColor kSkinLight(0xF5, 0xD3, 0xB8);
const QColor kSkinShade(0xB9, 0x80, 0x60);
const QColor kNail(0xF6, 0xDE, 0xD2);

struct Finger
{
    QPointF knuckle;
    QPointF bend;   // the middle of the finger's curve
    QPointF tip;
    qreal baseWidth;
    qreal tipWidth;
};

QPointF curvePoint(const Finger& f, qreal t)
{
    const qreal u = 1 - t;
    return u * u * f.knuckle + 2 * u * t * f.bend + t * t * f.tip;
}

QPointF curveDirection(const Finger& f, qreal t)
{
    const QPointF d = 2 * (1 - t) * (f.bend - f.knuckle) + 2 * t * (f.tip - f.bend);
    const qreal len = std::hypot(d.x(), d.y());
    return len > 0 ? d / len : QPointF(0, -1);
}

QPainterPath fingerOutline(const Finger& f)
{
    constexpr int kSteps = 24;
    QVector<QPointF> left, right;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal t = qreal(i) / kSteps;
        const QPointF c = curvePoint(f, t);
        const QPointF d = curveDirection(f, t);
        const QPointF normal(-d.y(), d.x());
        const qreal half = (f.baseWidth + (f.tipWidth - f.baseWidth) * t) / 2;
        left << c + normal * half;
        right << c - normal * half;
    }
    QPainterPath path;
    path.moveTo(left.first());
    for (const QPointF& pt : left)
        path.lineTo(pt);
    // The rounded fingertip.
    const QPointF d = curveDirection(f, 1);
    const QPointF ahead = f.tip + d * f.tipWidth * 0.62;
    path.cubicTo(left.last() + d * f.tipWidth * 0.55, ahead + QPointF(-d.y(), d.x()) * f.tipWidth * 0.30, ahead);
    path.cubicTo(ahead - QPointF(-d.y(), d.x()) * f.tipWidth * 0.30, right.last() + d * f.tipWidth * 0.55, right.last());
    for (int i = right.size() - 1; i >= 0; --i)
        path.lineTo(right.at(i));
    path.closeSubpath();
    return path;
}

void drawHand(QPainter& p, const QPainterPath& back, const std::vector<Finger>& fingers, const QRectF& lightFrom)
{
    QPainterPath hand = back;
    for (const Finger& f : fingers)
        hand = hand.united(fingerOutline(f));
    hand = hand.simplified();

    // A soft shadow on what lies below.
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 26));
        p.drawPath(hand.translated(4 + 3 * i, 6 + 4 * i));
    }
    QRadialGradient skin(lightFrom.center(), std::max(lightFrom.width(), lightFrom.height()));
    skin.setColorAt(0, kSkinLight);
    skin.setColorAt(0.55, kSkin);
    skin.setColorAt(1, kSkinShade);
    p.setBrush(skin);
    p.setPen(QPen(kSkinShade.darker(125), 2.2));
    p.drawPath(hand);

    p.save();
    p.setClipPath(hand);
    for (const Finger& f : fingers) {
        // A highlight along each finger's lit side and the creases of its joints.
        const QPointF d = curveDirection(f, 0.5);
        const QPointF n(-d.y(), d.x());
        QPainterPath shine;
        shine.moveTo(curvePoint(f, 0.15) + n * f.baseWidth * 0.22);
        shine.quadTo(f.bend + n * f.baseWidth * 0.24, curvePoint(f, 0.92) + n * f.tipWidth * 0.18);
        p.setPen(QPen(QColor(255, 240, 228, 85), f.tipWidth * 0.22, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shine);
        for (qreal t : {0.42, 0.70}) {
            const QPointF c = curvePoint(f, t);
            const QPointF dir = curveDirection(f, t);
            const QPointF across(-dir.y(), dir.x());
            const qreal half = (f.baseWidth + (f.tipWidth - f.baseWidth) * t) * 0.28;
            p.setPen(QPen(withAlpha(kSkinShade, 120), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c - across * half, c + across * half);
        }
        // The nail.
        const QPointF tipDir = curveDirection(f, 1);
        const QPointF nailCentre = f.tip + tipDir * f.tipWidth * 0.10;
        p.save();
        p.translate(nailCentre);
        p.rotate(qRadiansToDegrees(std::atan2(tipDir.y(), tipDir.x())));
        p.setPen(QPen(withAlpha(kSkinShade, 150), 1.5));
        p.setBrush(kNail);
        p.drawRoundedRect(QRectF(-f.tipWidth * 0.30, -f.tipWidth * 0.26, f.tipWidth * 0.62, f.tipWidth * 0.52),
                          f.tipWidth * 0.22, f.tipWidth * 0.22);
        p.restore();
    }
    p.restore();
}

// The ground of a hand picture: the photo view's grey, a little lighter behind the hand.
QImage photoCanvas(const QSize& size, const QPointF& light)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QRadialGradient room(light, size.width() * 0.68);
    room.setColorAt(0, QColor(92, 86, 80));
    room.setColorAt(1, QColor(71, 71, 71));
    p.fillRect(image.rect(), room);
    return image;
}

// The hand pictures fade into the photo view's grey at every edge, so that a picture of another
// shape than the view floats in it without a visible border.
void fadeEdges(QPainter& p, const QSize& size)
{
    const QColor grey(71, 71, 71);
    const qreal band = 64;
    const qreal w = size.width(), h = size.height();
    const QRectF sides[4] = {QRectF(0, 0, w, band), QRectF(0, h - band, w, band), QRectF(0, 0, band, h),
                             QRectF(w - band, 0, band, h)};
    const QLineF ramps[4] = {QLineF(0, 0, 0, band), QLineF(0, h, 0, h - band), QLineF(0, 0, band, 0),
                             QLineF(w, 0, w - band, 0)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        QLinearGradient g(ramps[i].p1(), ramps[i].p2());
        g.setColorAt(0, grey);
        g.setColorAt(1, withAlpha(grey, 0));
        p.fillRect(sides[i], g);
    }
}

// The back of a hand whose knuckles lie along `knuckles` (left to right): a smooth edge through
// them, then down and out of the picture at `bottom`.
QPainterPath handBack(const QPolygonF& knuckles, qreal bottom, qreal flare)
{
    QPainterPath back;
    const QPointF first = knuckles.first();
    const QPointF last = knuckles.last();
    back.moveTo(first.x() - flare, bottom);
    back.cubicTo(first.x() - flare, first.y() + 60, first.x() - flare * 0.6, first.y(), first.x(), first.y());
    for (int i = 1; i < knuckles.size(); ++i) {
        const QPointF a = knuckles.at(i - 1);
        const QPointF b = knuckles.at(i);
        back.quadTo(QPointF((a.x() + b.x()) / 2, std::min(a.y(), b.y()) - 8), b);
    }
    back.cubicTo(last.x() + flare * 0.6, last.y(), last.x() + flare, last.y() + 60, last.x() + flare, bottom);
    back.closeSubpath();
    return back;
}

// The hand on the piano: 800 x 600, an octave and a C seen from the player's seat, the right hand's
// fingers on the chord's keys (thumb on the lowest), the fingers that press nothing resting on the
// keys' fronts.

constexpr QSize kPianoPhoto(800, 600);

QImage drawPianoHand(const PitchClasses& pressed)
{
    QImage image = photoCanvas(kPianoPhoto, QPointF(400, 260));
    QPainter p(&image);
    prepareScaled(p, 1);

    const Keyboard kb{QRectF(40, 82, 720, 360), 8, 0.58, 0.62};
    // Fallboard and felt.
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(QRectF(0, 0, 800, 82), QColor(0x2A, 0x20, 0x1A), pal::rosewood()));
    p.drawRect(QRectF(0, 0, 800, 82));
    p.setBrush(QColor(0x7E, 0x24, 0x20));
    p.drawRect(QRectF(kb.area.left() - 6, 74, kb.area.width() + 12, 8));
    // The key bed below the fronts.
    p.setBrush(verticalGradient(QRectF(0, 442, 800, 158), QColor(0x2C, 0x26, 0x22), QColor(0x3E, 0x38, 0x33)));
    p.drawRect(QRectF(0, 442, 800, 158));

    for (int i = 0; i < kb.whiteCount; ++i) {
        const QRectF r = kb.white(i);
        const bool on = i < 7 && pressed[kWhitePitch[i]];
        // A pressed key sinks a little and is lit in the accent, so that it shows between fingers.
        p.setPen(QPen(QColor(0x9A, 0x90, 0x82), 1.6));
        p.setBrush(verticalGradient(r, on ? QColor(0xC9, 0xE2, 0xE4) : QColor(0xFD, 0xFA, 0xF2),
                           on ? QColor(0x9F, 0xC9, 0xCF) : QColor(0xEC, 0xE4, 0xD4)));
        p.drawPath(keyShape(r.adjusted(1, 0, -1, on ? 3 : 0), 5));
        p.setPen(Qt::NoPen);
        p.setBrush(verticalGradient(QRectF(r.left(), r.bottom(), r.width(), 12), QColor(0xD6, 0xCC, 0xBA),
                                    QColor(0x9E, 0x94, 0x86)));
        p.drawRoundedRect(QRectF(r.left() + 2, r.bottom() + (on ? 3 : 0), r.width() - 4, on ? 7 : 12), 3, 3);
        if (on) {
            p.setBrush(QColor(0, 0, 0, 40));
            p.drawRect(QRectF(r.left() + 1, r.top(), 5, r.height()));
            p.drawRect(QRectF(r.right() - 6, r.top(), 5, r.height()));
        }
    }
    for (const BlackKey& b : kBlackKeys) {
        const QRectF r = kb.black(b);
        const bool on = pressed[b.pitch];
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRoundedRect(r.translated(4, 6), 4, 4);
        p.setBrush(verticalGradient(r, on ? pal::accentDark().darker(160) : kEbony, on ? pal::accentDark() : kEbonyTop));
        p.drawPath(keyShape(r, 5));
        p.setBrush(verticalGradient(QRectF(r.left(), r.bottom() - 30, r.width(), 30), QColor(255, 255, 255, on ? 30 : 45),
                                    QColor(255, 255, 255, 8)));
        p.drawRoundedRect(QRectF(r.left() + 4, r.bottom() - (on ? 24 : 30), r.width() - 8, on ? 20 : 26), 3, 3);
    }

    // Thumb on the lowest key; three keys take thumb, middle and little finger, four the thumb,
    // index, middle and little finger, five all of them.
    std::vector<int> keys;
    for (int pitch = 0; pitch < 12; ++pitch) {
        if (pressed[pitch])
            keys.push_back(pitch);
    }
    std::vector<int> order;
    switch (keys.size()) {
    case 0: break;
    case 1: order = {2}; break;
    case 2: order = {0, 2}; break;
    case 3: order = {0, 2, 4}; break;
    case 4: order = {0, 1, 2, 4}; break;
    default: order = {0, 1, 2, 3, 4}; break;
    }
    QPointF target[5];
    bool used[5] = {false, false, false, false, false};
    qreal sum = 0;
    for (std::size_t i = 0; i < keys.size() && i < order.size(); ++i) {
        target[order[i]] = kb.touch(keys[i], 0.82, 0.80);
        used[order[i]] = true;
        sum += target[order[i]].x() - (order[i] - 2) * 78;
    }
    // The hand sits where its fingers reach their keys with the least stretch.
    const qreal centre = qBound<qreal>(190, order.empty() ? 400 : sum / qreal(std::min(keys.size(), order.size())), 610);
    static const qreal kRow[5] = {600, 548, 536, 546, 566};
    static const qreal kWidth[5] = {70, 64, 66, 62, 54};
    std::vector<Finger> fingers;
    QPolygonF knuckles;
    for (int f = 0; f < 5; ++f) {
        const QPointF knuckle(centre + (f - 2) * 78 + (f == 0 ? -48 : 0), kRow[f]);
        if (f > 0)
            knuckles << knuckle;
        // A finger that presses nothing rests on the front of the keys, between its neighbours.
        QPointF tip(knuckle.x() + (f == 0 ? 30 : 0), f == 0 ? 470 : 424);
        if (used[f]) {
            tip = target[f];
        } else if (f > 0) {
            int left = f - 1, right = f + 1;
            while (left > 0 && !used[left])
                --left;
            while (right < 5 && !used[right])
                ++right;
            if (used[left] && right < 5)
                tip.setX((target[left].x() * (right - f) + target[right].x() * (f - left)) / (right - left));
        }
        const QPointF mid = (knuckle + tip) / 2;
        const QPointF bend = mid + QPointF(f == 0 ? -26 : 0, f == 0 ? 10 : -14);
        fingers.push_back({knuckle, bend, tip, kWidth[f], kWidth[f] * 0.80});
    }
    knuckles.prepend(QPointF(fingers[0].knuckle.x() + 20, 580));
    drawHand(p, handBack(knuckles, 700, 46), fingers, QRectF(centre - 220, 300, 440, 300));
    fadeEdges(p, kPianoPhoto);
    return image;
}

// The hand on the ukulele: 800 x 600, the neck as the player sees it when looking down at it:
// head on the left, strings G, C, E and A from top to bottom. The fingers come up from below the
// neck, the first finger nearest the nut; the thumb's tip shows above the neck's upper edge.

using namespace ukulelephoto;
constexpr QSize kUkulelePhoto(ukulelephoto::kWidth, ukulelephoto::kHeight);

void drawUkuleleNeck(QPainter& p)
{
    // Head with its tuners, nut, fingerboard with frets and position dots, strings.
    QPainterPath head;
    head.moveTo(kNutX, kNeckTop + 6);
    head.cubicTo(kNutX - 60, kNeckTop - 10, kNutX - 120, kNeckTop - 40, kNutX - 200, kNeckTop - 30);
    head.lineTo(kNutX - 200, kNeckBottom + 30);
    head.cubicTo(kNutX - 120, kNeckBottom + 40, kNutX - 60, kNeckBottom + 10, kNutX, kNeckBottom - 6);
    head.closeSubpath();
    p.setPen(QPen(QColor(0x2A, 0x1A, 0x12), 2));
    p.setBrush(verticalGradient(QRectF(kNutX - 200, kNeckTop - 40, 200, kNeckBottom - kNeckTop + 80), pal::maple(),
                                pal::maple().darker(135)));
    p.drawPath(head);
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 2; ++i) {
            const QPointF peg(kNutX - 62 - i * 70, side == 0 ? kNeckTop + 24 : kNeckBottom - 24);
            p.setPen(QPen(QColor(0x1E, 0x1A, 0x16), 1.5));
            p.setBrush(QColor(0x3A, 0x35, 0x30));
            p.drawEllipse(peg, 16, 16);
            p.setBrush(verticalGradient(QRectF(peg.x() - 8, peg.y() - 8, 16, 16), QColor(0xE4, 0xE6, 0xE8),
                                        QColor(0x8E, 0x92, 0x96)));
            p.drawEllipse(peg, 8, 8);
        }
    }

    const QRectF board(kNutX, kNeckTop, 820 - kNutX, kNeckBottom - kNeckTop);
    p.setPen(QPen(QColor(0x24, 0x15, 0x0E), 2));
    p.setBrush(verticalGradient(board, pal::rosewoodLight(), pal::rosewood().darker(120)));
    p.drawRect(board);
    QRandomGenerator grain(7);
    for (int i = 0; i < 70; ++i) {
        const qreal y = board.top() + 3 + grain.bounded(board.height() - 6);
        p.setPen(QPen(QColor(0x2A, 0x18, 0x10, 40 + int(grain.bounded(40))), 1 + grain.bounded(1.5)));
        p.drawLine(QPointF(board.left(), y), QPointF(board.right(), y + grain.bounded(6.0) - 3));
    }
    for (int fret : {3, 5, 7}) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal::bone());
        p.drawEllipse(QPointF((fretX(fret - 1) + fretX(fret)) / 2, (kNeckTop + kNeckBottom) / 2), 11, 11);
    }
    for (int fret = 1; fret <= 7; ++fret) {
        const qreal x = fretX(fret);
        p.setPen(Qt::NoPen);
        QLinearGradient wire(x - 4, 0, x + 4, 0);
        wire.setColorAt(0, QColor(0x8E, 0x92, 0x96));
        wire.setColorAt(0.4, QColor(0xEE, 0xF0, 0xF2));
        wire.setColorAt(1, QColor(0x7A, 0x7E, 0x82));
        p.setBrush(wire);
        p.drawRoundedRect(QRectF(x - 4, kNeckTop, 8, kNeckBottom - kNeckTop), 3, 3);
    }
    p.setPen(QPen(QColor(0xB8, 0xAE, 0x94), 1.5));
    QLinearGradient nut(kNutX - 14, 0, kNutX + 2, 0);
    nut.setColorAt(0, QColor(0xD8, 0xCE, 0xB4));
    nut.setColorAt(1, pal::bone());
    p.setBrush(nut);
    p.drawRoundedRect(QRectF(kNutX - 14, kNeckTop - 2, 16, kNeckBottom - kNeckTop + 4), 3, 3);
    // Nylon strings, the C string the thickest, each with its shadow.
    static const qreal kGauge[tables::kUkuleleStrings] = {4.2, 5.4, 4.6, 3.8};
    for (int s = 0; s < tables::kUkuleleStrings; ++s) {
        const qreal y = stringY(s);
        p.setPen(QPen(QColor(0, 0, 0, 90), kGauge[s]));
        p.drawLine(QPointF(kNutX, y + 3), QPointF(820, y + 3));
        p.setPen(QPen(pal::string(), kGauge[s]));
        p.drawLine(QPointF(kNutX - 160, y), QPointF(820, y));
        p.setPen(QPen(QColor(255, 255, 255, 120), 1.2));
        p.drawLine(QPointF(kNutX - 160, y - kGauge[s] * 0.2), QPointF(820, y - kGauge[s] * 0.2));
    }
}

QImage drawUkuleleHand(const std::array<int, tables::kUkuleleStrings>& frets)
{
    QImage image = photoCanvas(kUkulelePhoto, QPointF(420, 300));
    QPainter p(&image);
    prepareScaled(p, 1);

    // Fingers by fret, the first finger on the lowest; on one fret the lower string (nearer the
    // hand) takes the earlier finger. When three or more strings share the lowest fret the first
    // finger lies across the neck there.
    struct Stop { int string; int fret; };
    std::vector<Stop> stops;
    for (int s = 0; s < tables::kUkuleleStrings; ++s) {
        if (frets[s] > 0)
            stops.push_back({s, frets[s]});
    }
    std::sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return a.fret != b.fret ? a.fret < b.fret : a.string < b.string;
    });
    const int lowest = stops.empty() ? 0 : stops.front().fret;
    const auto onLowest = std::count_if(stops.begin(), stops.end(), [lowest](const Stop& s) { return s.fret == lowest; });
    // The barre reaches from the hand's side (string 4) up to the highest string stopped at the
    // lowest fret; a string under it that must ring open (D 2 2 2 0) rules it out.
    int barreTop = onLowest >= 3 ? stops.front().string : -1;
    for (int s = std::max(barreTop, 0); barreTop >= 0 && s < tables::kUkuleleStrings; ++s) {
        if (frets[s] < lowest)
            barreTop = -1;
    }
    const bool barre = barreTop >= 0;
    auto behindFret = [](int fret, qreal share) { return fretX(fret) - (fretX(fret) - fretX(fret - 1)) * share; };

    QPointF tip[4];
    bool used[4] = {false, false, false, false};
    int finger = 0;
    if (barre) {
        tip[0] = QPointF(behindFret(lowest, 0.32), barreTop == 0 ? kNeckTop - 10 : stringY(barreTop) - 14);
        used[0] = true;
        finger = 1;
    }
    for (const Stop& s : stops) {
        if ((barre && s.fret == lowest) || finger > 3)
            continue;
        // Two fingers on one fret sit one behind the other, the upper string's further back.
        const auto sameFret = std::count_if(stops.begin(), stops.end(), [&s](const Stop& o) { return o.fret == s.fret; });
        const auto later = std::count_if(stops.begin(), stops.end(),
                                         [&s](const Stop& o) { return o.fret == s.fret && o.string > s.string; });
        const qreal share = barre || sameFret == 1 ? 0.36 : 0.26 + 0.26 * qreal(later) / qreal(sameFret - 1);
        tip[finger] = QPointF(behindFret(s.fret, share), stringY(s.string));
        used[finger++] = true;
    }

    // The hand sits under the fingers it uses.
    qreal sum = 0;
    int count = 0;
    for (int f = 0; f < 4; ++f) {
        if (used[f]) {
            sum += tip[f].x() - (f - 1.5) * 76;
            ++count;
        }
    }
    const qreal centre = qBound<qreal>(fretX(1) + 60, count ? sum / count : fretX(2), 620);

    // The thumb behind the neck, its tip over the upper edge.
    p.setPen(QPen(kSkinShade.darker(125), 2.2));
    const QRectF thumb(centre - 78, kNeckTop - 46, 80, 96);
    p.setBrush(verticalGradient(thumb.adjusted(0, 0, 0, -30), kSkinLight, kSkin));
    p.drawRoundedRect(thumb, 36, 32);
    p.setPen(QPen(withAlpha(kSkinShade, 150), 1.5));
    p.setBrush(kNail);
    p.drawRoundedRect(QRectF(thumb.center().x() - 20, thumb.top() + 8, 40, 28), 12, 12);
    drawUkuleleNeck(p);

    static const qreal kWidth[4] = {56, 58, 56, 48};
    std::vector<Finger> fingers;
    QPolygonF knuckles;
    for (int f = 0; f < 4; ++f) {
        const QPointF knuckle(centre + (f - 1.5) * 76, 572 + std::abs(f - 1.5) * 10);
        knuckles << knuckle;
        QPointF end = used[f] ? tip[f] : QPointF(knuckle.x() + (f - 1.5) * 8, kNeckBottom + 18);
        QPointF bend;
        if (!used[f])
            bend = (knuckle + end) / 2 + QPointF(10, 0);
        else if (barre && f == 0)
            bend = QPointF(end.x() + 4, (knuckle.y() + end.y()) / 2);
        else
            bend = QPointF((knuckle.x() + end.x()) / 2 + 14, std::max(end.y() + 70, kNeckBottom + 10));
        fingers.push_back({knuckle, bend, end, kWidth[f], kWidth[f] * (barre && f == 0 ? 0.90 : 0.82)});
    }
    drawHand(p, handBack(knuckles, 720, 40), fingers, QRectF(centre - 200, 330, 400, 300));
    fadeEdges(p, kUkulelePhoto);
    return image;
}

// ------------------------------------------------------------------------------------------------
// The chord pages' faces.

// The play button: a teal disc ringed in ivory with a play sign; lighter under the pointer, deeper
// and pressed in while pressed.
void drawPlayFace(QPainter& p, bool pressed, bool hover)
{
    const QPointF c(24, 24);
    QColor disc = pressed ? pal::accentDark() : pal::accent();
    if (hover)
        disc = disc.lighter(pressed ? 125 : 118);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(c + QPointF(0, 1.2), 22.5, 22.5);
    p.setBrush(pal::bone());
    p.drawEllipse(c, 22.5, 22.5);
    QRadialGradient g(c - QPointF(0, 8), 26);
    g.setColorAt(0, disc.lighter(130));
    g.setColorAt(1, disc.darker(pressed ? 125 : 110));
    p.setBrush(g);
    p.drawEllipse(c, 19.5, 19.5);
    p.setBrush(QColor(255, 255, 255, pressed ? 25 : 45));
    p.drawEllipse(QRectF(10, 7, 28, 14));
    const qreal shift = pressed ? 0.8 : 0;
    QPainterPath play;
    play.moveTo(19.5, 14 + shift);
    play.lineTo(34, 24 + shift);
    play.lineTo(19.5, 34 + shift);
    play.closeSubpath();
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(play);
}

// The instrument labels beside the chord pictures: an upright plate with a little picture of the
// instrument's neck (or keys) and its name along the plate.
struct LabelFace
{
    const char* picture;
    const char* name;
    int strings;   // 0: keys
};

const LabelFace kLabels[] = {
    {"ukulele", "UKULELE", 4}, {"piano", "PIANO", 0}, {"mandolin", "MANDOLIN", 8}, {"guitar", "GUITAR", 6},
    {"Guitar", "GUITAR", 6}, {"banjo", "BANJO", 5}, {"balalaika", "BALALAIKA", 3}, {"bass", "BASS", 4},
};

void drawInstrumentLabel(QPainter& p, const LabelFace& face)
{
    const QRectF plate(1, 1, 38, 103);
    p.setPen(QPen(QColor(0x6A, 0x60, 0x56), 1));
    p.setBrush(verticalGradient(plate, QColor(0x4A, 0x41, 0x39), QColor(0x2E, 0x28, 0x23)));
    p.drawRoundedRect(plate, 7, 7);

    const QRectF glyph(9, 7, 22, 30);
    p.setPen(Qt::NoPen);
    if (face.strings == 0) {
        p.setBrush(pal::bone());
        p.drawRoundedRect(glyph, 2, 2);
        p.setPen(QPen(kKeyEdge, 1));
        for (int i = 1; i < 4; ++i)
            p.drawLine(QPointF(glyph.left() + i * glyph.width() / 4, glyph.top()), QPointF(glyph.left() + i * glyph.width() / 4, glyph.bottom()));
        p.setPen(Qt::NoPen);
        p.setBrush(kEbony);
        for (qreal x : {0.25, 0.5, 0.75})
            p.drawRect(QRectF(glyph.left() + x * glyph.width() - 2.2, glyph.top(), 4.4, glyph.height() * 0.58));
    } else {
        p.setBrush(pal::rosewoodLight());
        p.drawRect(glyph);
        p.setBrush(pal::bone());
        p.drawRect(QRectF(glyph.left(), glyph.top(), glyph.width(), 3));
        p.setPen(QPen(pal::fretSilver(), 1.1));
        for (int i = 1; i <= 3; ++i)
            p.drawLine(QPointF(glyph.left(), glyph.top() + 3 + i * 7), QPointF(glyph.right(), glyph.top() + 3 + i * 7));
        p.setPen(QPen(pal::string(), face.strings > 5 ? 0.7 : 0.9));
        for (int i = 0; i < face.strings; ++i) {
            const qreal x = glyph.left() + 2.5 + i * (glyph.width() - 5) / (face.strings - 1);
            p.drawLine(QPointF(x, glyph.top()), QPointF(x, glyph.bottom()));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(pal::accent());
        p.drawEllipse(QPointF(glyph.center().x(), glyph.top() + 3 + 10.5), 2.6, 2.6);
    }

    // The name, read upwards, as large as the plate lets it be.
    const QString name = QString::fromLatin1(face.name);
    QFont font = pal::textFont(11, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    while (font.pixelSize() > 7 && QFontMetricsF(font).horizontalAdvance(name) > 58)
        font.setPixelSize(font.pixelSize() - 1);
    p.save();
    p.translate(20, 72);
    p.rotate(-90);
    p.setFont(font);
    p.setPen(pal::bone());
    p.drawText(QRectF(-31, -9, 62, 18), Qt::AlignCenter, name);
    p.restore();
}

// The tab bar's scroll arrows: ivory chevrons.
void drawChevron(QPainter& p, bool right)
{
    QPainterPath chevron;
    chevron.moveTo(right ? 4 : 8, 2);
    chevron.lineTo(right ? 8 : 4, 6);
    chevron.lineTo(right ? 4 : 8, 10);
    p.setPen(QPen(pal::bone(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
}

// The Favorites menu's icons, for a dark menu: a new sheet, saving into a tray, a waste bin.
void drawMenuIcon(QPainter& p, const QString& which)
{
    const QPen outline(pal::bone(), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (which == QLatin1String("new")) {
        QPainterPath sheet;
        sheet.moveTo(3, 1.5);
        sheet.lineTo(9.5, 1.5);
        sheet.lineTo(13, 5);
        sheet.lineTo(13, 14.5);
        sheet.lineTo(3, 14.5);
        sheet.closeSubpath();
        p.setPen(outline);
        p.setBrush(QColor(0xF1, 0xE9, 0xD2, 60));
        p.drawPath(sheet);
        p.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 5));
        p.drawLine(QPointF(9.5, 5), QPointF(13, 5));
        p.setPen(QPen(pal::accentLight(), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 7.5), QPointF(8, 12.5));
        p.drawLine(QPointF(5.5, 10), QPointF(10.5, 10));
    } else if (which == QLatin1String("save")) {
        p.setPen(outline);
        p.setBrush(Qt::NoBrush);
        QPainterPath tray;
        tray.moveTo(1.5, 9);
        tray.lineTo(1.5, 14.5);
        tray.lineTo(14.5, 14.5);
        tray.lineTo(14.5, 9);
        p.drawPath(tray);
        p.setPen(QPen(pal::accentLight(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 10));
        QPainterPath head;
        head.moveTo(4.5, 7);
        head.lineTo(8, 10.5);
        head.lineTo(11.5, 7);
        p.drawPath(head);
    } else {
        const QColor red = pal::bad().lighter(125);
        p.setPen(QPen(red, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(red.red(), red.green(), red.blue(), 50));
        QPainterPath bin;
        bin.moveTo(3.5, 4.5);
        bin.lineTo(4.5, 14.5);
        bin.lineTo(11.5, 14.5);
        bin.lineTo(12.5, 4.5);
        bin.closeSubpath();
        p.drawPath(bin);
        p.drawLine(QPointF(2, 4.5), QPointF(14, 4.5));
        p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 2));
        p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
        p.drawLine(QPointF(9.5, 2), QPointF(9.5, 4.5));
        p.drawLine(QPointF(6.5, 7), QPointF(6.7, 12));
        p.drawLine(QPointF(9.5, 7), QPointF(9.3, 12));
    }
}

// The panel background of pocket devices: dark wood with a fine grain, seamless as a tile.
void drawPanelBackground(QPainter& p)
{
    const QRectF tile(0, 0, 64, 64);
    p.fillRect(tile, verticalGradient(tile, QColor(0x3A, 0x33, 0x2C), QColor(0x34, 0x2E, 0x28)));
    QRandomGenerator grain(11);
    for (int i = 0; i < 40; ++i) {
        const qreal y = grain.bounded(64.0);
        p.setPen(QPen(QColor(0x1E, 0x1A, 0x16, 30 + int(grain.bounded(40))), 0.6 + grain.bounded(0.8)));
        // Lines run the whole width, so that the tile repeats without a seam.
        p.drawLine(QPointF(0, y), QPointF(64, y));
    }
}

// A face drawn in logical units at 1x and 2x.
template <typename Draw>
auto atScale(Draw draw)
{
    return [draw](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        draw(p);
    };
}

IMAGEGEN_PRODUCER(drawChordPageFaces)
{
    struct PlayState
    {
        const char* name;
        bool pressed;
        bool hover;
    };
    const PlayState states[] = {{"Play.png", false, false}, {"Play_hvr.png", false, true}, {"Play_prs.png", true, false},
                                {"Play_prs_hvr.png", true, true}};
    for (const PlayState& state : states) {
        sink.saveBoth(QString::fromLatin1(state.name), QSize(48, 48),
                      atScale([&](QPainter& p) { drawPlayFace(p, state.pressed, state.hover); }));
    }
    for (const LabelFace& face : kLabels) {
        sink.saveBoth(QString::fromLatin1(face.picture) + QStringLiteral(".png"), QSize(40, 105),
                      atScale([&](QPainter& p) { drawInstrumentLabel(p, face); }));
    }
    for (bool right : {false, true}) {
        sink.saveBoth(right ? QStringLiteral("arrowright.png") : QStringLiteral("arrowleft.png"), QSize(12, 12),
                      atScale([&](QPainter& p) { drawChevron(p, right); }));
    }
    for (const char* icon : {"new", "save", "delete"}) {
        sink.saveBoth(QString::fromLatin1(icon) + QStringLiteral(".png"), QSize(16, 16),
                      atScale([&](QPainter& p) { drawMenuIcon(p, QString::fromLatin1(icon)); }));
    }
    sink.saveBoth(QStringLiteral("panelbackground.png"), QSize(64, 64), atScale(drawPanelBackground));
}

// ------------------------------------------------------------------------------------------------
// Producers. The hand and key pictures are many: each kind is a producer of its own, so that they
// are drawn side by side.

IMAGEGEN_PRODUCER(drawPianoKeyPictures)
{
    for (const auto& [code, pressed] : pianoCodes()) {
        sink.save(kChordFolder + QStringLiteral("a_") + code + QStringLiteral(".png"), withPalette(drawKeyDiagram(pressed)));
        sink.save(kChordFolder + QStringLiteral("b_") + code + QStringLiteral(".png"), withPalette(drawKeyNames(pressed)));
    }
}

IMAGEGEN_PRODUCER(drawPianoHands)
{
    for (const auto& [code, pressed] : pianoCodes())
        sink.save(kChordFolder + QStringLiteral("piano_") + code + QStringLiteral(".jpg"), drawPianoHand(pressed), 86);
}

IMAGEGEN_PRODUCER(drawUkuleleHands)
{
    for (const auto& [code, frets] : ukuleleCodes())
        sink.save(kChordFolder + QStringLiteral("ukulele_") + code + QStringLiteral(".jpg"), drawUkuleleHand(frets), 86);
}

} // namespace
