#include "RIRurud/BoardBase.h"

#include "REZirudid/App.h"
#include "RIRurud/NoteName.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QMutex>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QTime>
#include <QVBoxLayout>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

#include <atomic>
#include <cstring>
#include <memory>

namespace RIRurud {

namespace {

// Overlays are big, mostly transparent pictures (2048 x 497, about 4 MB decoded). Each is decoded
// once and kept only as the few small tiles that hold its marks; a paint draws those tiles scaled.
struct LayerTiles
{
    QSize size;   // of the whole overlay; empty when the picture is missing
    QVector<QRect> rects;
    QVector<QImage> tiles;
    qint64 bytes = 0;
};
using TilesPtr = std::shared_ptr<const LayerTiles>;

// The tiles of every overlay cut so far, by path, shared by all boards and by the worker that cuts
// overlays ahead.
class LayerCache
{
public:
    TilesPtr find(const QString& path)
    {
        QMutexLocker lock(&m_mutex);
        return m_entries.value(path);
    }
    // Keeps the first entry stored for a path (the worker and a paint may both cut one overlay).
    TilesPtr insert(const QString& path, TilesPtr entry)
    {
        QMutexLocker lock(&m_mutex);
        auto it = m_entries.find(path);
        if (it != m_entries.end())
            return *it;
        m_bytes += entry->bytes;
        m_entries.insert(path, entry);
        return entry;
    }
    BoardBase::LayerCacheUse use()
    {
        QMutexLocker lock(&m_mutex);
        BoardBase::LayerCacheUse result;
        result.layers = m_entries.size();
        result.bytes = m_bytes;
        return result;
    }

private:
    QMutex m_mutex;
    QHash<QString, TilesPtr> m_entries;
    qint64 m_bytes = 0;
};

LayerCache& layerCache()
{
    // Never destroyed: a worker may still be cutting an overlay while the program ends.
    static auto* cache = new LayerCache;
    return *cache;
}

// Set when the application object goes away, so that a worker stops between two overlays.
std::atomic<bool> g_stopCutting{false};

// A picture to decode into whose pages go straight back to the system when it is dropped. Decoded
// overlays are short-lived 4 MB blocks; from the ordinary heap the allocator would keep their pages
// for later (below its trim threshold), which costs as much memory as keeping one overlay for good.
QImage mappedImage(const QSize& size, QImage::Format format)
{
#ifdef Q_OS_UNIX
    const int bytesPerLine = size.width() * 4;
    const size_t bytes = size_t(bytesPerLine) * size_t(size.height());
    if (bytes == 0)
        return QImage();
    void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        return QImage();
    struct Mapping
    {
        void* pages;
        size_t bytes;
    };
    return QImage(static_cast<uchar*>(pages), size.width(), size.height(), bytesPerLine, format,
                  [](void* info) {
                      auto* mapping = static_cast<Mapping*>(info);
                      munmap(mapping->pages, mapping->bytes);
                      delete mapping;
                  },
                  new Mapping{pages, bytes});
#else
    return QImage(size, format);
#endif
}

// Decodes the overlay, keeps copies of its marked regions and lets the whole picture go.
TilesPtr cutLayer(const QString& path)
{
    auto entry = std::make_shared<LayerTiles>();
    QImageReader reader(path);
    QImage full;
    const QImage::Format format = reader.imageFormat();
    if (format == QImage::Format_ARGB32 || format == QImage::Format_ARGB32_Premultiplied
        || format == QImage::Format_RGB32)
        full = mappedImage(reader.size(), format);
    if (!reader.read(&full))
        return entry;
    entry->size = full.size();
    entry->rects = BoardGeometry::visibleRegions(full);
    for (const QRect& rect : qAsConst(entry->rects)) {
        QImage tile = full.copy(rect).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        // Pictures named "@2x" are read with a pixel ratio of 2; the board maps pixels itself.
        tile.setDevicePixelRatio(1);
        entry->bytes += tile.sizeInBytes();
        entry->tiles.append(tile);
    }
    return entry;
}

// The tiles of an overlay, cut now if no one has cut them yet.
TilesPtr layerTiles(const QString& path)
{
    LayerCache& cache = layerCache();
    if (TilesPtr found = cache.find(path))
        return found;
    return cache.insert(path, cutLayer(path));
}

// The boards' random draws reseed the process-wide generator with the millisecond part of the
// time of day right before each draw, so two draws within one millisecond agree.
int reseededRandom()
{
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
    qsrand(uint(QTime::currentTime().msec()));
    return qrand();
QT_WARNING_POP
}

// Where the part `source` of a picture of size `pictureSize` lands when the picture is stretched
// over `target`.
QRectF partTarget(const QRectF& target, const QSize& pictureSize, const QRect& source)
{
    const qreal sx = target.width() / pictureSize.width();
    const qreal sy = target.height() / pictureSize.height();
    return QRectF(target.x() + source.x() * sx, target.y() + source.y() * sy, source.width() * sx,
                  source.height() * sy);
}

} // namespace

BoardBase::BoardBase(const QString& name, QWidget* parent)
    : QFrame(parent)
    , instrumentName(name)
{
    setMinimumSize(800, 250);
    // Only the header is read here; the picture is decoded when it is first painted.
    m_boardPath = QStringLiteral(":/") + instrumentName + QStringLiteral("_0@2x.jpg");
    m_boardSize = QImageReader(m_boardPath).size();
    if (!m_boardSize.isValid())
        m_boardSize = QSize();
    createLayers();
    // Without a picture the board still keeps the proportions of its reference frame.
    if (m_boardSize.isEmpty())
        aspectRatio = float(BoardTables::kFrameWidth) / float(BoardTables::kFrameHeight);
    else
        aspectRatio = float(m_boardSize.width()) / float(m_boardSize.height());

    m_findNoteButton = new QPushButton(tr("Find Note"));
    trainButton = new QPushButton(tr("Training"));
    trainButton->setObjectName(QStringLiteral("DualButtonRight"));
    m_findNoteButton->setObjectName(QStringLiteral("DualButtonLeft"));
    for (QPushButton* button : {m_findNoteButton, trainButton}) {
        button->setFlat(true);
        button->setMinimumHeight(32);
        button->setMinimumWidth(96);
        button->setCheckable(true);
    }
    m_findNoteButton->setChecked(true);
    connect(trainButton, SIGNAL(clicked()), this, SIGNAL(traningSelected()));
    connect(m_findNoteButton, SIGNAL(clicked()), this, SIGNAL(findNoteSelected()));

    auto* group = new QButtonGroup(this);
    group->addButton(trainButton);
    group->addButton(m_findNoteButton);
    group->setExclusive(true);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch(1);
    row->addWidget(m_findNoteButton);
    row->addWidget(trainButton);
    row->addStretch(1);

    auto* column = new QVBoxLayout;
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(0);
    column->addLayout(row);
    column->addStretch(1);
    setLayout(column);
}

BoardBase::~BoardBase() = default;

double BoardBase::dpr()
{
    if (REZirudid::App* app = REZirudid::App::theApp())
        return app->devicePixelRatio();
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

void BoardBase::setTrainButtonChecked()
{
    trainButton->setChecked(true);
}

bool BoardBase::isInTraining() const
{
    return inTraining;
}

QString BoardBase::layerKey(const QString& layer) const
{
    return (QStringLiteral(":/") + instrumentName + QStringLiteral("_%1.png")).arg(layer);
}

void BoardBase::createLayers()
{
    for (const QString& layer : qAsConst(layerNames))
        layers[layerKey(layer)] = QStringLiteral(":/") + instrumentName + QStringLiteral("_") + layer
            + QStringLiteral("@2x.png");
}

QString BoardBase::currentLayerPath() const
{
    return currentLayer.isEmpty() ? QString() : layers.value(layerKey(currentLayer));
}

bool BoardBase::isIn(int const& x, int const& y, QPoint const& point) const
{
    return BoardGeometry::isInBox(x, y, point);
}

QPixmap BoardBase::doSingleNote(const QPixmap& layer)
{
    // A missing overlay has no column to draw from: show nothing.
    if (layer.isNull() || layer.width() < 1)
        return QPixmap();
    const QImage source = !m_trainingLayer.isNull() && layer.cacheKey() == m_trainingLayer.cacheKey()
        ? m_trainingSource
        : layer.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int column = reseededRandom() % source.width();
    const int found = BoardGeometry::markedColumn(source, column);
    const BoardGeometry::Band band = BoardGeometry::bandAround(found, dpr(), source.width());

    // The copy: transparent everywhere but in the band, which keeps the layer's pixels.
    QImage copy(source.size(), QImage::Format_ARGB32_Premultiplied);
    copy.fill(0);
    if (!band.isEmpty()) {
        const int bytes = (band.right - band.left) * 4;
        for (int y = 0; y < copy.height(); ++y)
            memcpy(copy.scanLine(y) + band.left * 4, source.constScanLine(y) + band.left * 4, size_t(bytes));
    }
    m_lastBand = band;
    m_bandValid = true;
    QPixmap single = QPixmap::fromImage(std::move(copy));
    single.setDevicePixelRatio(1.0 / dpr());
    return single;
}

BoardBase::LayerCacheUse BoardBase::layerCacheUse()
{
    return layerCache().use();
}

const QPixmap& BoardBase::trainingLayer(const QString& path)
{
    if (path == m_trainingPath)
        return m_trainingLayer;
    m_trainingPath = path;
    const TilesPtr entry = layerTiles(path);
    const LayerTiles& tiles = *entry;
    if (tiles.size.isEmpty()) {
        m_trainingLayer = QPixmap();
        m_trainingSource = QImage();
        return m_trainingLayer;
    }
    // The tiles hold every visible pixel of the overlay, so putting them back gives the picture.
    QImage image(tiles.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (int i = 0; i < tiles.rects.size(); ++i)
            painter.drawImage(tiles.rects.at(i).topLeft(), tiles.tiles.at(i));
    }
    m_trainingLayer = QPixmap::fromImage(std::move(image));
    m_trainingSource = m_trainingLayer.toImage();
    return m_trainingLayer;
}

void BoardBase::preloadLayers()
{
    QStringList missing;
    for (const QString& layer : qAsConst(layerNames)) {
        const QString path = layers.value(layerKey(layer));
        if (!path.isEmpty() && !missing.contains(path) && !layerCache().find(path))
            missing.append(path);
    }
    if (missing.isEmpty())
        return;
    // Workers stop between two overlays once the application object goes away.
    static QPointer<QCoreApplication> hookedApp;
    if (QCoreApplication::instance() && hookedApp != QCoreApplication::instance()) {
        hookedApp = QCoreApplication::instance();
        g_stopCutting = false;
        qAddPostRoutine([] { g_stopCutting = true; });
    }
    // One overlay at a time: a worker holds at most one decoded picture.
    QThreadPool::globalInstance()->start([missing] {
        for (const QString& path : missing) {
            if (g_stopCutting)
                return;
            if (!layerCache().find(path))
                layerCache().insert(path, cutLayer(path));
        }
    });
}

void BoardBase::slotSetNote(const QString& note, int accidental)
{
    currentLayer = NoteName::layerForm(note, accidental);
    update();
}

void BoardBase::slotNextNote()
{
    // An empty list has nothing to ask for.
    if (trainingNotes.isEmpty())
        return;
    const QString note = trainingNotes.at(reseededRandom() % trainingNotes.size());
    const QString natural = NoteName::naturalName(note);
    const int accidental = NoteName::boardAccidental(note);
    slotSetNote(natural, accidental);
    emit noteChanged(natural, accidental);
}

void BoardBase::slotSetInTraining(bool on)
{
    inTraining = on;
    if (!on) {
        // The whole-size training picture is needed in training only.
        m_trainingPath.clear();
        m_trainingLayer = QPixmap();
        m_trainingSource = QImage();
    }
}

void BoardBase::mousePressEvent(QMouseEvent* event)
{
    if (inTraining) {
        QFrame::mousePressEvent(event);
        return;
    }
    const QPoint point = event->localPos().toPoint();
    const QString note = positionToNote(point.x(), point.y());
    if (note.isEmpty())
        return;
    const QString natural = NoteName::naturalName(note);
    const int accidental = NoteName::boardAccidental(note);
    slotSetNote(natural, accidental);
    emit noteChanged(natural, accidental);
    NoteName::playSoundFile(NoteName::soundFilePath(instrumentName, NoteName::layerFromBoard(note)));
}

void BoardBase::paintEvent(QPaintEvent*)
{

    QPainter painter(this);
    const QRectF target(0, 0, width(), height());
    const double ratio = dpr();

    if (!m_boardSize.isEmpty()) {
        const QSize size(int(width() * ratio), int(height() * ratio));
        if (!size.isEmpty() && (m_scaledBoard.size() != size || m_scaledBoard.devicePixelRatio() != ratio)) {
            // JPEG decodes at a reduced scale when asked for a smaller size, which is much faster
            // than decoding the whole picture and scaling it down.
            QImageReader reader(m_boardPath);
            reader.setScaledSize(size);
            reader.setQuality(75);   // smooth scaling of what the decoder does not reach itself
            QImage image = reader.read();
            if (!image.isNull() && image.size() != size)
                image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaledBoard = QPixmap::fromImage(std::move(image));
            m_scaledBoard.setDevicePixelRatio(ratio);
        }
        if (!m_scaledBoard.isNull())
            painter.drawPixmap(target.topLeft(), m_scaledBoard);
    }
    if (!m_preloadStarted) {
        m_preloadStarted = true;
        preloadLayers();
    }

    const QString path = currentLayerPath();
    if (path.isEmpty())
        return;
    const TilesPtr entry = layerTiles(path);
    const LayerTiles& tiles = *entry;
    if (tiles.size.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    if (!inTraining) {
        for (int i = 0; i < tiles.rects.size(); ++i)
            painter.drawImage(partTarget(target, tiles.size, tiles.rects.at(i)), tiles.tiles.at(i));
        return;
    }

    m_bandValid = false;
    const QPixmap single = doSingleNote(trainingLayer(path));
    if (single.isNull())
        return;
    if (!m_bandValid || single.size() != tiles.size) {
        // A board with its own single-position rule: draw whatever it returned.
        painter.drawPixmap(partTarget(target, single.size(), single.rect()), single, QRectF(single.rect()));
        return;
    }
    const QRect band(m_lastBand.left, 0, m_lastBand.right - m_lastBand.left, tiles.size.height());
    for (const QRect& rect : qAsConst(tiles.rects)) {
        const QRect part = rect & band;
        if (!part.isEmpty())
            painter.drawPixmap(partTarget(target, tiles.size, part), single, QRectF(part));
    }
}

void BoardBase::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    setFixedHeight(int(float(width()) / aspectRatio));
}

void BoardBase::fillNotes(const BoardTables::BoardTable& table)
{
    layerNames.clear();
    for (std::size_t i = 0; i < table.layerCount; ++i)
        layerNames.append(QString::fromLatin1(table.layerNames[i]));
    for (std::size_t i = 0; i < table.trainingCount; ++i)
        trainingNotes.append(QString::fromLatin1(table.trainingNotes[i]));
}

QString BoardBase::noteInTable(const BoardTables::BoardTable& table, int x, int y) const
{
    const QPoint framePoint = BoardGeometry::toFrame(x, y, width(), height());
    return BoardGeometry::noteAt(table, framePoint,
                                 [this](int cx, int cy, const QPoint& p) { return isIn(cx, cy, p); });
}

} // namespace RIRurud
