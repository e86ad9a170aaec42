#include "RIRurud/SidePictureLabel.h"

#include "REZirudid/App.h"

#include <QImageReader>
#include <QPixmap>

namespace RIRurud {

SidePictureLabel::SidePictureLabel(const QString& resource, QWidget* parent)
    : REZirudid::Label(parent)
    , m_resource(resource)
{
    setMode(REZirudid::Label::Expand);
}

void SidePictureLabel::paintEvent(QPaintEvent* event)
{
    // A new picture asks for one more paint of the label, which finds it up to date.
    decodeForCurrentSize();
    REZirudid::Label::paintEvent(event);
}

void SidePictureLabel::decodeForCurrentSize()
{
    if (size().isEmpty())
        return;
    // The same ratio and rounding as the label's painting, so that the picture held is exactly the
    // size it paints at and is drawn without scaling.
    const REZirudid::App* app = REZirudid::App::theApp();
    const double ratio = app ? app->devicePixelRatio() : devicePixelRatioF();
    const QSize device = size() * ratio;
    if (device == m_decodedSize)
        return;
    m_decodedSize = device;

    QImageReader reader(m_resource);
    const QSize full = reader.size();
    if (!full.isValid())
        return;
    // Scaled to cover the label with the aspect kept, then cut from the top-left, as Expand draws.
    const QSize covering = full.scaled(device, Qt::KeepAspectRatioByExpanding);
    reader.setScaledSize(covering);
    reader.setScaledClipRect(QRect(QPoint(0, 0), device.boundedTo(covering)));
    const QImage picture = reader.read();
    if (picture.isNull())
        return;
    setRetinaPixmap(QPixmap::fromImage(picture));
}

} // namespace RIRurud
