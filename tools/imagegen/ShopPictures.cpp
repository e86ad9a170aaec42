// The icons of the instrument pages' shop menu: must have, nice to have, read, hear, see and the
// encyclopedia. Light glyphs on a round teal badge, drawn at 32 x 32 (and twice that for "@2x").
#include "ImageSink.h"
#include "Palette.h"
#include "Shapes.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

using namespace imagegen;
namespace pal = imagegen::palette;

constexpr int kSize = 32;

// The badge: a teal disc with a soft top light and a thin darker rim. Leaves the painter scaled
// to a 32 x 32 box.
void badge(QPainter& p, const QImage& image, int scale)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QRectF disc(1.5, 1.5, kSize - 3, kSize - 3);
    QRadialGradient light(QPointF(kSize * 0.38, kSize * 0.3), kSize * 0.75);
    light.setColorAt(0, pal::accentLight());
    light.setColorAt(1, pal::accentDark());
    p.setBrush(light);
    p.setPen(QPen(pal::accentDark().darker(130), 1.0));
    p.drawEllipse(disc);
    Q_UNUSED(image);
}

QPen glyphPen(qreal width)
{
    return QPen(pal::paper(), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawMustHave(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper());
    p.drawPath(imagegen::starPath(QPointF(16, 16.8), 10.5, 4.4));
}

void drawNiceToHave(QPainter& p)
{
    QPainterPath heart;
    heart.moveTo(16, 25);
    heart.cubicTo(6, 18, 6.5, 9.5, 11.5, 9.5);
    heart.cubicTo(14, 9.5, 15.3, 11, 16, 12.6);
    heart.cubicTo(16.7, 11, 18, 9.5, 20.5, 9.5);
    heart.cubicTo(25.5, 9.5, 26, 18, 16, 25);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper());
    p.drawPath(heart);
}

void drawRead(QPainter& p)
{
    // An open book: two pages meeting at the spine, with a few lines of text.
    QPainterPath left;
    left.moveTo(16, 11);
    left.cubicTo(13, 9, 9.5, 9, 7, 10);
    left.lineTo(7, 22.5);
    left.cubicTo(9.5, 21.5, 13, 21.5, 16, 23.5);
    left.closeSubpath();
    QTransform mirror;
    mirror.translate(32, 0);
    mirror.scale(-1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper());
    p.drawPath(left);
    p.drawPath(mirror.map(left));
    p.setPen(QPen(pal::accentDark(), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 13.5 + i * 2.8;
        p.drawLine(QPointF(9, y), QPointF(14, y + 0.6));
        p.drawLine(QPointF(18, y + 0.6), QPointF(23, y));
    }
    p.setPen(QPen(pal::accentDark(), 1.0));
    p.drawLine(QPointF(16, 11.5), QPointF(16, 23));
}

void drawHear(QPainter& p)
{
    // An ear: the outer helix, the inner fold and the lobe.
    QPainterPath outer;
    outer.moveTo(11.5, 13.5);
    outer.cubicTo(11.5, 8.5, 15, 6.8, 17.5, 6.8);
    outer.cubicTo(21.5, 6.8, 23.5, 10, 23.5, 13);
    outer.cubicTo(23.5, 16.5, 20.5, 18, 19.5, 20);
    outer.cubicTo(18.8, 21.5, 19, 25, 15.5, 25);
    outer.cubicTo(13.5, 25, 12.5, 23.5, 12.3, 22.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(2.4));
    p.drawPath(outer);
    QPainterPath inner;
    inner.moveTo(15, 13.5);
    inner.cubicTo(15, 11.3, 16.3, 10.3, 17.6, 10.3);
    inner.cubicTo(19.3, 10.3, 20.2, 11.6, 20.2, 13);
    inner.cubicTo(20.2, 14.6, 18.6, 15.2, 17.8, 16.4);
    p.setPen(glyphPen(1.6));
    p.drawPath(inner);
}

void drawSee(QPainter& p)
{
    QPainterPath eye;
    eye.moveTo(5.5, 16);
    eye.quadTo(16, 5.5, 26.5, 16);
    eye.quadTo(16, 26.5, 5.5, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::paper());
    p.drawPath(eye);
    p.setBrush(pal::accentDark());
    p.drawEllipse(QPointF(16, 16), 4.6, 4.6);
    p.setBrush(pal::panelDark());
    p.drawEllipse(QPointF(16, 16), 2.2, 2.2);
    p.setBrush(pal::paper());
    p.drawEllipse(QPointF(17.4, 14.6), 1.0, 1.0);
}

void drawEncyclopedia(QPainter& p)
{
    // A globe outline behind a serif "W".
    p.setBrush(Qt::NoBrush);
    QColor faint = pal::paper();
    faint.setAlphaF(0.45);
    p.setPen(QPen(faint, 0.9));
    p.drawEllipse(QPointF(16, 16), 10.5, 10.5);
    p.drawEllipse(QPointF(16, 16), 4.5, 10.5);
    p.drawLine(QPointF(5.5, 16), QPointF(26.5, 16));
    QFont f(pal::musicFamily());
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(pal::paper());
    p.drawText(QRectF(0, 0.5, 32, 32), Qt::AlignCenter, QStringLiteral("W"));
}

using Glyph = void (*)(QPainter&);

} // namespace

IMAGEGEN_PRODUCER(drawShopIcons)
{
    const struct
    {
        const char* name;
        Glyph glyph;
    } icons[] = {
        {"musthave.png", drawMustHave}, {"nicetohave.png", drawNiceToHave}, {"read.png", drawRead},
        {"ohr.png", drawHear},          {"eye.png", drawSee},               {"wikipedia.png", drawEncyclopedia},
    };
    for (const auto& icon : icons) {
        sink.saveBoth(QString::fromLatin1(icon.name), QSize(kSize, kSize), [&icon](QImage& image, int scale) {
            QPainter p(&image);
            badge(p, image, scale);
            icon.glyph(p);
        });
    }
}
