// The staff's pictures: the treble clef (":/violinkey.png"), the bass clef (":/basskey.png") and
// the note head (":/note.png"), from the music glyphs of FreeSerif. The staff draws each picture
// into a fixed rectangle measured in line heights (RIRurud::StaffTables::Drawing); the glyphs are
// placed in those rectangles so that the treble clef's spiral lies on the G line, the bass clef's
// head and dots on the F line, and the note head fills exactly one space, centred on the staff.
#include "ImageSink.h"
#include "Shapes.h"

#include "RIRurud/StaffTables.h"

#include <QImage>
#include <QPainter>

namespace {

namespace drawing = RIRurud::StaffTables::Drawing;

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

template <typename Paint>
QImage picture(int width, int height, Paint paint)
{
    QImage image = blank(width, height);
    QPainter p(&image);
    paint(p);
    return image;
}

IMAGEGEN_PRODUCER(drawStaffPictures)
{
    const int side = drawing::kClefPictureSide;
    sink.save(QStringLiteral("violinkey.png"), picture(side, side, imagegen::paintTrebleClefPicture));
    sink.save(QStringLiteral("basskey.png"), picture(side, side, imagegen::paintBassClefPicture));
    sink.save(QStringLiteral("note.png"),
              picture(drawing::kNotePictureWidth, drawing::kNotePictureHeight, imagegen::paintNotePicture));
}

} // namespace
