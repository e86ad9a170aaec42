#include "REZirudid/Label.h"

#include "REZirudid/App.h"

#include <QPainter>

namespace REZirudid {

Label::Label(QWidget* parent)
    : QLabel(parent)
{
}

void Label::setRetinaPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    update();
}

void Label::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (m_pixmap.isNull() || size().isEmpty())
        return;
    const App* app = App::theApp();
    const double ratio = app ? app->devicePixelRatio() : devicePixelRatioF();
    const QPixmap scaled =
        m_pixmap.scaled(size() * ratio,
                        m_mode == Fit ? Qt::KeepAspectRatio : Qt::KeepAspectRatioByExpanding,
                        Qt::SmoothTransformation);
    const QSizeF logical = QSizeF(scaled.size()) / ratio;
    QPointF origin(0, 0);
    if (m_mode == Fit)
        origin = QPointF((width() - logical.width()) / 2.0, (height() - logical.height()) / 2.0);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(origin, logical), scaled, QRectF(scaled.rect()));
}

} // namespace REZirudid
