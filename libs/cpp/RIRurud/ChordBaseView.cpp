#include "RIRurud/ChordBaseView.h"

#include "REZirudid/Common.h"
#include "REZirudid/App.h"
#include "RIRurud/ChordBook.h"

#include <QApplication>
#include <QBuffer>
#include <QDrag>
#include <QImageReader>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QUrl>

namespace RIRurud {

ChordBaseView::ChordBaseView(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(tr("Drag&Drop this picture to any editor"));
}

void ChordBaseView::setChordTabAndName(int index, const QVector<int>& tab, const QString& name)
{
    m_chordIndex = index;
    m_tab = tab;
    m_chordName = name;
    update();
}

void ChordBaseView::setInstrumentName(const QString& name)
{
    m_instrumentName = name;
}

QString ChordBaseView::pianoTabToCode() const
{
    return ChordBook::pianoKeyCode(m_tab);
}

QString ChordBaseView::picturePath(ChordBook::View view) const
{
    const REZirudid::App* app = REZirudid::App::theApp();
    return ChordBook::picturePath(view, m_instrumentName, m_tab, app ? app->resourceOffset() : QString());
}

void ChordBaseView::drawName(QPainter* painter, int bottom)
{
    const int h = height();
    QFont font = painter->font();
    font.setPixelSize(qMax(1, h / 7 + 7));
    while (font.pixelSize() > 8 && QFontMetrics(font).ascent() + QFontMetrics(font).descent() / 2 > bottom)
        font.setPixelSize(font.pixelSize() - 1);
    painter->setFont(font);
    painter->setPen(QPen(Qt::black, h / 50));
    painter->drawText(rect(), Qt::AlignHCenter | Qt::AlignTop, m_chordName);
}

void ChordBaseView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragStartPosition = event->pos();
    QWidget::mousePressEvent(event);
}

void ChordBaseView::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton)
        && (event->pos() - dragStartPosition).manhattanLength() > QApplication::startDragDistance())
        startDrag();
    QWidget::mouseMoveEvent(event);
}

QUrl ChordBaseView::writeDragFile()
{
    const REZirudid::App* app = REZirudid::App::theApp();
    if (!app)
        return QUrl();
    const QString path = app->workDirectory() + QStringLiteral("Chord.png");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QUrl();
    if (!grab().save(&file, "PNG") || !file.commit())
        return QUrl();
    return QUrl::fromLocalFile(path);
}

void ChordBaseView::startDrag()
{
    const QUrl url = writeDragFile();
    if (url.isEmpty())
        return;
    auto* mime = new QMimeData;
    mime->setUrls({url});
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(grab().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    drag->exec(Qt::CopyAction);
}

void ChordBaseView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

void ChordBaseView::paintChart(bool antialiased)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    if (m_instrumentName == QLatin1String("piano"))
        drawKeys(&painter);
    else
        drawStrings(&painter);
}

void ChordBaseView::drawStrings(QPainter*) {}
void ChordBaseView::drawKeys(QPainter*) {}

void ChordBaseView::drawCenteredPicture(QPainter* painter, const QString& path)
{
    const double ratio = REZirudid::Common::pixelRatio();
    const QSize box(int(width() * ratio), int(height() * ratio));
    if (path != m_cachedPath || box != m_cachedSize) {
        m_cachedPath = path;
        m_cachedSize = box;
        m_cached = QPixmap();
        QImageReader reader(path);
        const QSize full = reader.size();
        if (full.isValid() && !box.isEmpty()) {
            // Decoding straight at the size drawn costs a fraction of decoding the whole picture.
            reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio));
            reader.setQuality(100);
            m_cached = QPixmap::fromImage(reader.read());
        }
    }
    if (m_cached.isNull())
        return;
    const double pw = m_cached.width();
    const double ph = m_cached.height();
    const QRectF target(int((width() - pw / ratio) * 0.5), int((height() - ph / ratio) * 0.5), int(pw / ratio),
                        int(ph / ratio));
    painter->drawPixmap(target, m_cached, QRectF(m_cached.rect()));
}

void ChordBaseView::drawKeysPicture(QPainter* painter, const QString& path)
{
    drawCenteredPicture(painter, path);
    const int h = height();
    QFont font = painter->font();
    font.setPixelSize(h / 7 + 7);
    painter->setFont(font);
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(m_chordName);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 255, 255, 220));
    painter->drawRect(QRect((width() - textWidth) / 2, 0, textWidth, metrics.height()));
    painter->setPen(QPen(Qt::black, h / 50));
    painter->drawText(rect(), Qt::AlignHCenter | Qt::AlignTop, m_chordName);
}

} // namespace RIRurud
