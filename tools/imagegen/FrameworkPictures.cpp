// The framework's pictures: the application icon and the About box logo, the application menu's
// icons, the promotion bar's button faces, the share and join-us buttons and the media player's
// default cover. The faces come from the framework's button table, so their names and sizes are the
// ones the widgets use.
#include "ImageSink.h"
#include "Palette.h"
#include "Shapes.h"

#include "REZirudid/FrameworkFaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

using namespace imagegen;
namespace pal = imagegen::palette;
namespace Faces = REZirudid::Faces;
using Faces::Glyph;

// Glyphs in a square box, in one colour.
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink)
{
    const qreal u = box.width() / 24.0;   // glyphs are designed on a 24-unit grid
    auto at = [&](qreal x, qreal y) { return QPointF(box.left() + x * u, box.top() + y * u); };
    p.save();
    switch (glyph) {
    case Glyph::AppTile: {
        drawStaffMark(p, box.adjusted(-2 * u, -1 * u, 2 * u, 1 * u), ink);
        break;
    }
    case Glyph::Apps:
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                p.drawRoundedRect(QRectF(at(3.5 + c * 9.5, 3.5 + r * 9.5), QSizeF(7.5 * u, 7.5 * u)), 2 * u, 2 * u);
        break;
    case Glyph::Star:
        p.setPen(roundCapPen(ink, 1.6 * u));
        p.setBrush(ink);
        p.drawPath(imagegen::starPath(at(12, 12.8), 10 * u, 4.3 * u));
        break;
    case Glyph::Share: {
        const QPointF a = at(17.5, 5.5), b = at(6.5, 12), c = at(17.5, 18.5);
        p.setPen(roundCapPen(ink, 2 * u));
        p.drawLine(a, b);
        p.drawLine(b, c);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (const QPointF& pt : {a, b, c})
            p.drawEllipse(pt, 3.3 * u, 3.3 * u);
        break;
    }
    case Glyph::Help: {
        p.setPen(roundCapPen(ink, 2 * u));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at(12, 12), 9.5 * u, 9.5 * u);
        QPainterPath q;
        q.moveTo(at(8.8, 9.3));
        q.cubicTo(at(8.8, 5.6), at(15.4, 5.6), at(15.3, 9.2));
        q.cubicTo(at(15.2, 11.6), at(12, 11.8), at(12, 14.4));
        p.setPen(roundCapPen(ink, 2.4 * u));
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(at(12, 17.8), 1.5 * u, 1.5 * u);
        break;
    }
    case Glyph::More:
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(at(5 + i * 7, 10), 2.3 * u, 2.3 * u);
        p.setPen(roundCapPen(ink, 1.8 * u));
        p.drawPolyline(QPolygonF(QVector<QPointF>{at(8.5, 16), at(12, 19), at(15.5, 16)}));
        break;
    case Glyph::People:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 150));
        p.drawEllipse(at(16.5, 7.5), 3.2 * u, 3.2 * u);
        p.drawRoundedRect(QRectF(at(11, 12.2), QSizeF(11 * u, 8.5 * u)), 4.5 * u, 4.5 * u);
        p.setBrush(ink);
        p.drawEllipse(at(9, 8), 3.8 * u, 3.8 * u);
        p.drawRoundedRect(QRectF(at(2.5, 13.2), QSizeF(13 * u, 8.8 * u)), 5 * u, 5 * u);
        break;
    case Glyph::Globe: {
        p.setPen(roundCapPen(ink, 1.8 * u));
        p.setBrush(Qt::NoBrush);
        const QPointF c = at(12, 12);
        p.drawEllipse(c, 9.5 * u, 9.5 * u);
        p.drawEllipse(c, 4.2 * u, 9.5 * u);
        p.drawLine(at(2.5, 12), at(21.5, 12));
        p.drawLine(at(4.2, 7), at(19.8, 7));
        p.drawLine(at(4.2, 17), at(19.8, 17));
        break;
    }
    case Glyph::Megaphone: {
        QPainterPath horn;
        horn.moveTo(at(4, 9.5));
        horn.lineTo(at(15, 4.5));
        horn.lineTo(at(15, 19.5));
        horn.lineTo(at(4, 14.5));
        horn.closeSubpath();
        p.setPen(roundCapPen(ink, 1.6 * u));
        p.setBrush(ink);
        p.drawPath(horn);
        p.drawLine(at(6.5, 15), at(8, 20));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(at(14, 7), QSizeF(6 * u, 10 * u)), -60 * 16, 120 * 16);
        p.drawArc(QRectF(at(15, 4), QSizeF(8 * u, 16 * u)), -55 * 16, 110 * 16);
        break;
    }
    case Glyph::Bubble: {
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(at(2.5, 3.5), QSizeF(19 * u, 13.5 * u)), 4.5 * u, 4.5 * u);
        QPainterPath tail;
        tail.moveTo(at(7, 16));
        tail.lineTo(at(6, 21.5));
        tail.lineTo(at(12.5, 16));
        tail.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(bubble.united(tail));
        p.setBrush(QColor(0, 0, 0, 0));
        p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        p.setBrush(Qt::black);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(at(7.5 + i * 4.5, 10.2), 1.4 * u, 1.4 * u);
        break;
    }
    case Glyph::Envelope: {
        const QRectF body(at(2.5, 5.5), QSizeF(19 * u, 13.5 * u));
        p.setPen(roundCapPen(ink, 1.8 * u));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body, 2 * u, 2 * u);
        p.drawPolyline(QPolygonF(QVector<QPointF>{body.topLeft() + QPointF(1.2 * u, 1.2 * u), at(12, 13),
                                                  body.topRight() + QPointF(-1.2 * u, 1.2 * u)}));
        break;
    }
    }
    p.restore();
}

// ---------------------------------------------------------------------------------------------

IMAGEGEN_PRODUCER(drawApplicationIcon)
{
    // 128 x 128 (256 x 256 at 2x, the desktop icon).
    sink.saveBoth("appicon.png", QSize(128, 128), [](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        drawAppTile(p, QRectF(0, 0, 128, 128));
    });
    // The About box logo: the tile on a soft halo, the program's name below.
    const int size = Faces::kLogoSize;
    sink.saveBoth("app.png", QSize(size, size), [size](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        drawAppLogo(p, QRectF(0, 0, size, size));
    });
}

// The application menu's icons: a small coloured tile with a white glyph, readable on light and
// dark menus alike.
IMAGEGEN_PRODUCER(drawMenuIcons)
{
    const struct
    {
        const char* name;
        Glyph glyph;
        QColor colour;
    } icons[] = {
        {"star.png", Glyph::Star, pal::warm()},
        {"recommend.png", Glyph::Share, pal::good()},
        {"moreappsicon.png", Glyph::Apps, pal::accent()},
        {"feedback.png", Glyph::Envelope, QColor(0x6A, 0x5A, 0xA8)},
        {"webpage.png", Glyph::Globe, QColor(0x2F, 0x6D, 0xB5)},
    };
    for (const auto& icon : icons) {
        const Glyph glyph = icon.glyph;
        const QColor colour = icon.colour;
        sink.saveBoth(icon.name, QSize(32, 32), [=](QImage& image, int scale) {
            QPainter p(&image);
            prepareScaled(p, scale);
            const QRectF tile(2, 2, 28, 28);
            p.setPen(Qt::NoPen);
            p.setBrush(verticalGradient(tile, colour.lighter(125), colour.darker(115)));
            p.drawRoundedRect(tile, 7, 7);
            p.setPen(QPen(QColor(255, 255, 255, 55), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 6.5, 6.5);
            drawGlyph(p, glyph, QRectF(6, 6, 20, 20), Qt::white);
        });
    }
}

// The promotion bar lies on a dark bar: light glyphs on a faint glass tile; the hover face lights
// the tile in the accent colour.
IMAGEGEN_PRODUCER(drawPromoFaces)
{
    for (const Faces::Face& face : Faces::kPromoButtons) {
        const QSize size(face.width, face.height);
        for (bool hover : {false, true}) {
            const QString name = QString::fromLatin1(face.picture) + (hover ? "_hover.png" : ".png");
            const Glyph glyph = face.glyph;
            sink.saveBoth(name, size, [=](QImage& image, int scale) {
                QPainter p(&image);
                prepareScaled(p, scale);
                const QRectF tile = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
                p.setPen(QPen(QColor(255, 255, 255, hover ? 90 : 45), 1));
                if (hover)
                    p.setBrush(verticalGradient(tile, pal::accentLight(), pal::accentDark()));
                else
                    p.setBrush(verticalGradient(tile, QColor(255, 255, 255, 38), QColor(255, 255, 255, 12)));
                p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
                const qreal g = qMin(tile.width(), tile.height()) * 0.62;
                const QRectF glyphBox(tile.center().x() - g / 2, tile.center().y() - g / 2, g, g);
                if (glyph == Glyph::AppTile) {
                    drawAppTile(p, glyphBox.adjusted(-3, -3, 3, 3));
                } else {
                    drawGlyph(p, glyph, glyphBox, hover ? QColor(Qt::white) : pal::bone());
                }
            });
        }
    }
}

// A pill in the accent colour with a glyph on its left and the caption beside it.
void drawPill(QPainter& p, const Faces::Face& face, bool hover, bool main)
{
    const QRectF r = QRectF(0, 0, face.width, face.height).adjusted(1, 1, -1, -2.5);
    const qreal radius = r.height() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.translated(0, 1.5), radius, radius);
    const QColor base = main ? pal::warm() : pal::accent();
    const QColor top = hover ? base.lighter(135) : base.lighter(112);
    const QColor bottom = hover ? base : base.darker(125);
    p.setPen(QPen(base.darker(160), 1));
    p.setBrush(verticalGradient(r, top, bottom));
    p.drawRoundedRect(r, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, hover ? 60 : 40));
    p.drawRoundedRect(QRectF(r.left() + radius * 0.6, r.top() + 2, r.width() - radius * 1.2, r.height() * 0.42),
                      r.height() * 0.2, r.height() * 0.2);
    // Glyph disc on the left.
    const qreal d = r.height() - 8;
    const QRectF disc(r.left() + 5, r.top() + 4, d, d);
    p.setBrush(QColor(255, 255, 255, hover ? 60 : 45));
    p.drawEllipse(disc);
    const qreal g = d * 0.66;
    drawGlyph(p, face.glyph, QRectF(disc.center().x() - g / 2, disc.center().y() - g / 2, g, g), Qt::white);
    // Caption.
    QFont font = pal::textFont(main ? 17 : 15, QFont::Bold);
    p.setFont(font);
    const QRectF text(disc.right() + 6, r.top(), r.right() - disc.right() - 6 - radius * 0.6, r.height());
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(text.translated(0, 1), Qt::AlignCenter, QString::fromLatin1(face.caption));
    p.setPen(Qt::white);
    p.drawText(text, Qt::AlignCenter, QString::fromLatin1(face.caption));
}

IMAGEGEN_PRODUCER(drawShareAndJoinFaces)
{
    auto both = [&sink](const Faces::Face& face, bool main) {
        for (bool hover : {false, true}) {
            const QString name = QString::fromLatin1(face.picture) + (hover ? "_hover.png" : ".png");
            sink.saveBoth(name, QSize(face.width, face.height), [=](QImage& image, int scale) {
                QPainter p(&image);
                prepareScaled(p, scale);
                drawPill(p, face, hover, main);
            });
        }
    };
    for (const Faces::Face& face : Faces::kShareButtons)
        both(face, false);
    bool first = true;
    for (const Faces::JoinFace& join : Faces::kJoinButtons) {
        both(join.face, first);
        first = false;
    }
}

// The cover the media player shows for a track whose folder holds no picture: the program's note
// on a dark disc (256 x 256).
IMAGEGEN_PRODUCER(drawDefaultCover)
{
    sink.saveBoth("pix/Dadurud.png", QSize(256, 256), [](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        const QRectF box(0, 0, 256, 256);
        p.fillRect(box, verticalGradient(box, QColor(0x3A, 0x33, 0x2C), QColor(0x1A, 0x16, 0x12)));
        const QPointF centre = box.center();
        QRadialGradient disc(centre, 110);
        disc.setColorAt(0, QColor(0x2A, 0x26, 0x22));
        disc.setColorAt(1, QColor(0x0E, 0x0C, 0x0A));
        p.setPen(QPen(QColor(255, 255, 255, 30), 1.5));
        p.setBrush(disc);
        p.drawEllipse(centre, 110, 110);
        p.setBrush(Qt::NoBrush);
        for (int r = 40; r < 106; r += 9)
            p.drawEllipse(centre, r, r);
        drawAppTile(p, QRectF(centre.x() - 44, centre.y() - 44, 88, 88));
    });
}

// The message box's icons, in the program's colours: information and question on a teal disc,
// warning on an amber triangle. Drawn at both densities, so a dense screen shows smooth edges.
IMAGEGEN_PRODUCER(drawMessageIcons)
{
    const int side = Faces::kMessageIconSize;
    const QSize size(side, side);
    auto disc = [](QPainter& p) {
        const QRectF r(2, 2, 28, 28);
        p.setPen(QPen(pal::accentDark().darker(130), 1));
        p.setBrush(verticalGradient(r, pal::accentLight(), pal::accentDark()));
        p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
        p.setPen(QPen(QColor(255, 255, 255, 70), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
    };
    sink.saveBoth("messageinformation.png", size, [=](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        disc(p);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.6), 2.3, 2.3);
        p.setPen(roundCapPen(Qt::white, 3.6));
        p.drawLine(QPointF(16, 14.5), QPointF(16, 22.8));
    });
    sink.saveBoth("messagequestion.png", size, [=](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        disc(p);
        QPainterPath hook;
        hook.moveTo(11.4, 12.2);
        hook.cubicTo(11.4, 6.9, 20.6, 6.9, 20.5, 12.1);
        hook.cubicTo(20.4, 15.4, 16, 15.7, 16, 19.2);
        p.setPen(roundCapPen(Qt::white, 3.3));
        p.setBrush(Qt::NoBrush);
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 24), 2.1, 2.1);
    });
    sink.saveBoth("messagewarning.png", size, [=](QImage& image, int scale) {
        QPainter p(&image);
        prepareScaled(p, scale);
        const QPolygonF triangle(QVector<QPointF>{QPointF(16, 4), QPointF(29, 27.5), QPointF(3, 27.5)});
        p.setPen(roundCapPen(pal::warm().darker(110), 2.4));
        p.setBrush(verticalGradient(QRectF(3, 4, 26, 23.5), pal::warm().lighter(150), pal::warm().lighter(108)));
        p.drawPolygon(triangle);
        p.setPen(roundCapPen(pal::panelDark(), 3.4));
        p.drawLine(QPointF(16, 11.5), QPointF(16, 18.8));
        p.setPen(Qt::NoPen);
        p.setBrush(pal::panelDark());
        p.drawEllipse(QPointF(16, 23.3), 2, 2);
    });
}

} // namespace
