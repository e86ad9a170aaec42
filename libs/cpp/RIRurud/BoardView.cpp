#include "RIRurud/BoardView.h"

#include "REZirudid/Common.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/OverlayTiles.h"

#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace RIRurud {

BoardView::BoardView(const QString& picturePath, const BoardTables::BoardTable* table)
    : m_picturePath(picturePath)
    , m_table(table)
    , m_pictureSize(QImageReader(picturePath).size())
{
    if (!m_pictureSize.isValid())
        m_pictureSize = QSize();
}

float BoardView::aspectRatio() const
{
    // Without a picture the board still keeps the proportions of its reference frame.
    if (m_pictureSize.isEmpty())
        return float(BoardTables::kFrameWidth) / float(BoardTables::kFrameHeight);
    return float(m_pictureSize.width()) / float(m_pictureSize.height());
}

double BoardView::devicePixelRatio()
{
    return REZirudid::Common::pixelRatio();
}

void BoardView::paintPicture(QPainter& painter, const QSize& widgetSize, const OverlayList& overlays)
{
    const double ratio = devicePixelRatio();
    if (!m_pictureSize.isEmpty()) {
        const QSize size(int(widgetSize.width() * ratio), int(widgetSize.height() * ratio));
        if (!size.isEmpty() && (m_scaled.size() != size || m_scaled.devicePixelRatio() != ratio)) {
            // JPEG decodes at a reduced scale when asked for a smaller size, which is much faster
            // than decoding the whole picture and scaling it down.
            QImageReader reader(m_picturePath);
            reader.setScaledSize(size);
            reader.setQuality(75);   // smooth scaling of what the decoder does not reach itself
            QImage image = reader.read();
            if (!image.isNull() && image.size() != size)
                image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaled = QPixmap::fromImage(std::move(image));
            m_scaled.setDevicePixelRatio(ratio);
        }
        if (!m_scaled.isNull())
            painter.drawPixmap(QPointF(0, 0), m_scaled);
    }
    if (!m_preloadStarted) {
        m_preloadStarted = true;
        OverlayTiles::preload(overlays());
    }
}

namespace {
// The tiles of the overlay at `path`, or nullptr when there is nothing to draw; readies the painter.
OverlayTiles::Ptr tilesToDraw(QPainter& painter, const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    OverlayTiles::Ptr entry = OverlayTiles::of(path);
    if (entry->size.isEmpty())
        return nullptr;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    return entry;
}

const QColor kBarColour = QColor::fromRgb(QRgb(BoardMarks::kMarkColour));

// Where the bar's cells lie in an overlay picture of `size`.
QRectF overlayRect(const BoardMarks::BarCells& bar, const QSize& size)
{
    const double sx = double(size.width()) / BoardTables::kFrameWidth;
    const double sy = double(size.height()) / BoardTables::kFrameHeight;
    return QRectF(bar.left * sx, bar.top * sy, (bar.right - bar.left) * sx, (bar.bottom - bar.top) * sy);
}

// The bars over a board of `size`: each fills its device pixels (BoardGeometry::barPixels), crisp,
// in the marks' red, its end rows cut in where a half circle as wide as the bar leaves them out.
void paintBars(QPainter& painter, const QSize& size, const QVector<BoardMarks::BarCells>& bars)
{
    if (bars.isEmpty())
        return;
    const double dpr = painter.device()->devicePixelRatioF();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(1 / dpr, 1 / dpr);
    for (const BoardMarks::BarCells& bar : bars) {
        const QRect pixels = BoardGeometry::barPixels(bar, size, dpr);
        const double r = pixels.width() / 2.0;
        int k = 0;
        for (; 2 * (k + 1) < pixels.height() && k + 0.5 < r; ++k) {
            const double d = r - k - 0.5;
            const int inset = qRound(r - std::sqrt(r * r - d * d));
            if (inset == 0)
                break;
            painter.fillRect(pixels.left() + inset, pixels.top() + k, pixels.width() - 2 * inset, 1, kBarColour);
            painter.fillRect(pixels.left() + inset, pixels.bottom() - k, pixels.width() - 2 * inset, 1, kBarColour);
        }
        painter.fillRect(pixels.adjusted(0, k, 0, -k), kBarColour);
    }
    painter.restore();
}

} // namespace

QVector<BoardMarks::BarCells> BoardView::barsOf(const QString& layer) const
{
    if (!m_table || layer.isEmpty())
        return {};
    return BoardGeometry::barsOf(*m_table, NoteName::boardFromLayer(layer));
}

void BoardView::paintOverlay(QPainter& painter, const QSize& size, const QString& path, const QString& layer)
{
    const OverlayTiles::Ptr entry = tilesToDraw(painter, path);
    if (!entry)
        return;
    const QRectF target(QPointF(0, 0), QSizeF(size));
    for (int i = 0; i < entry->rects.size(); ++i)
        painter.drawImage(entry->partTarget(target, entry->rects.at(i)), entry->tiles.at(i));
    paintBars(painter, size, barsOf(layer));
}

void BoardView::paintSingle(QPainter& painter, const QSize& size, const QString& path, const QString& layer,
                            const SingleNote& single)
{
    const OverlayTiles::Ptr entry = tilesToDraw(painter, path);
    if (!entry)
        return;
    const QRectF target(QPointF(0, 0), QSizeF(size));
    m_bandValid = false;
    const QPixmap picture = single(trainingOverlay(path, layer));
    if (picture.isNull())
        return;
    if (!m_bandValid || picture.size() != entry->size) {
        // A board with a single-position rule of its own: draw whatever it returned.
        painter.drawPixmap(target, picture, QRectF(picture.rect()));
        return;
    }
    const QRect band(m_lastBand.left, 0, m_lastBand.right - m_lastBand.left, entry->size.height());
    for (const QRect& rect : qAsConst(entry->rects)) {
        const QRect part = rect & band;
        if (!part.isEmpty())
            painter.drawPixmap(entry->partTarget(target, part), picture, QRectF(part));
    }
    painter.save();
    painter.setClipRect(entry->partTarget(target, band), Qt::IntersectClip);
    paintBars(painter, size, m_trainingBars);
    painter.restore();
}

QPixmap BoardView::singleNote(const QPixmap& layer)
{
    // A missing overlay has no column to draw from: show nothing.
    if (layer.isNull() || layer.width() < 1)
        return QPixmap();
    const double ratio = devicePixelRatio();
    const bool training = !m_trainingOverlay.isNull() && layer.cacheKey() == m_trainingOverlay.cacheKey();
    const QImage source =
        training ? m_trainingSource : layer.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int column = BoardGeometry::reseededRandom() % source.width();
    const int found = BoardGeometry::markedColumn(source, column);
    const BoardGeometry::Band band = BoardGeometry::bandAround(found, ratio, source.width());

    // The copy: transparent everywhere but in the band, which keeps the layer's pixels.
    QImage copy = source;
    BoardGeometry::keepBand(copy, band);
    if (training && !m_trainingBars.isEmpty()) {
        // paintSingle draws the bars on the screen's own pixels.
        QPainter clear(&copy);
        clear.setCompositionMode(QPainter::CompositionMode_Source);
        for (const BoardMarks::BarCells& bar : qAsConst(m_trainingBars))
            clear.fillRect(overlayRect(bar, copy.size()), Qt::transparent);
    }
    m_lastBand = band;
    m_bandValid = true;
    QPixmap single = QPixmap::fromImage(std::move(copy));
    single.setDevicePixelRatio(1.0 / ratio);
    return single;
}

void BoardView::leaveTraining()
{
    m_trainingPath.clear();
    m_trainingOverlay = QPixmap();
    m_trainingSource = QImage();
    m_trainingBars.clear();
}

const QPixmap& BoardView::trainingOverlay(const QString& path, const QString& layer)
{
    if (path == m_trainingPath)
        return m_trainingOverlay;
    m_trainingPath = path;
    QImage overlay = OverlayTiles::of(path)->assembled();
    m_trainingBars = overlay.isNull() ? QVector<BoardMarks::BarCells>() : barsOf(layer);
    if (!m_trainingBars.isEmpty()) {
        // Filled in, the bars are found by the search as the overlay's marks are; singleNote()
        // leaves them out of the copy again.
        QPainter fill(&overlay);
        fill.setCompositionMode(QPainter::CompositionMode_Source);
        for (const BoardMarks::BarCells& bar : qAsConst(m_trainingBars))
            fill.fillRect(overlayRect(bar, overlay.size()), kBarColour);
    }
    m_trainingOverlay = QPixmap::fromImage(std::move(overlay));
    m_trainingSource = m_trainingOverlay.isNull() ? QImage() : m_trainingOverlay.toImage();
    return m_trainingOverlay;
}

} // namespace RIRurud
