#include "RIRurud/BoardBase.h"

#include "REZirudid/App.h"
#include "RIRurud/NoteName.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>

namespace RIRurud {

namespace {

// Overlays are big, mostly transparent pictures. They are decoded once and kept in Qt's pixmap
// cache; for drawing, each is also kept as the few small tiles that hold its marks, so a paint
// scales and draws a handful of small rectangles instead of the whole picture.
struct LayerTiles
{
    QSize size;
    QVector<QRect> rects;
    QVector<QPixmap> tiles;
};

QPixmap loadPicture(const QString& path)
{
    if (path.isEmpty())
        return QPixmap();
    const QString key = QStringLiteral("RIRurud::BoardBase:") + path;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(path);
    // Pictures named "@2x" load with a pixel ratio of 2; the board maps pixels itself.
    pixmap.setDevicePixelRatio(1);
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

const LayerTiles& layerTiles(const QString& path)
{
    static QHash<QString, LayerTiles> cache;
    auto it = cache.find(path);
    if (it != cache.end())
        return *it;
    LayerTiles entry;
    const QPixmap pixmap = loadPicture(path);
    if (!pixmap.isNull()) {
        entry.size = pixmap.size();
        entry.rects = BoardGeometry::visibleRegions(pixmap.toImage());
        for (const QRect& rect : qAsConst(entry.rects))
            entry.tiles.append(pixmap.copy(rect));
    }
    return *cache.insert(path, entry);
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

// Draws the part `source` of a picture of size `pictureSize` that is stretched over `target`.
void drawPart(QPainter& painter, const QRectF& target, const QSize& pictureSize, const QPixmap& pixmap,
              const QRect& source, const QRect& pixmapSource)
{
    const qreal sx = target.width() / pictureSize.width();
    const qreal sy = target.height() / pictureSize.height();
    const QRectF to(target.x() + source.x() * sx, target.y() + source.y() * sy, source.width() * sx,
                    source.height() * sy);
    painter.drawPixmap(to, pixmap, pixmapSource);
}

} // namespace

BoardBase::BoardBase(const QString& name, QWidget* parent)
    : QFrame(parent)
    , instrumentName(name)
{
    // Each overlay is about 4 MB decoded; keep a board's worth of them.
    if (QPixmapCache::cacheLimit() < 96 * 1024)
        QPixmapCache::setCacheLimit(96 * 1024);

    setMinimumSize(800, 250);
    boardPixmap = QPixmap(QStringLiteral(":/") + instrumentName + QStringLiteral("_0@2x.jpg"));
    createLayers();
    // Without a picture the board still keeps the proportions of its reference frame.
    if (boardPixmap.isNull() || boardPixmap.height() == 0)
        aspectRatio = float(BoardTables::kFrameWidth) / float(BoardTables::kFrameHeight);
    else
        aspectRatio = float(boardPixmap.width()) / float(boardPixmap.height());

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

const QPixmap& BoardBase::trainingLayer(const QString& path)
{
    if (path == m_trainingPath)
        return m_trainingLayer;
    m_trainingPath = path;
    const LayerTiles& tiles = layerTiles(path);
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
            painter.drawPixmap(tiles.rects.at(i).topLeft(), tiles.tiles.at(i));
    }
    m_trainingLayer = QPixmap::fromImage(std::move(image));
    m_trainingSource = m_trainingLayer.toImage();
    return m_trainingLayer;
}

void BoardBase::preloadNextLayer()
{
    if (m_preloadIndex < 0 || m_preloadIndex >= layerNames.size())
        return;
    layerTiles(layers.value(layerKey(layerNames.at(m_preloadIndex++))));
    QTimer::singleShot(1, this, &BoardBase::preloadNextLayer);
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
    if (m_preloadIndex < 0) {
        m_preloadIndex = 0;
        QTimer::singleShot(1, this, &BoardBase::preloadNextLayer);
    }
    QPainter painter(this);
    const QRectF target(0, 0, width(), height());
    const double ratio = dpr();

    if (!boardPixmap.isNull()) {
        const QSize size(int(width() * ratio), int(height() * ratio));
        if (m_scaledBoard.size() != size || m_scaledBoard.devicePixelRatio() != ratio) {
            m_scaledBoard = boardPixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaledBoard.setDevicePixelRatio(ratio);
        }
        painter.drawPixmap(target.topLeft(), m_scaledBoard);
    }

    const QString path = currentLayerPath();
    if (path.isEmpty())
        return;
    const LayerTiles& tiles = layerTiles(path);
    if (tiles.size.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    if (!inTraining) {
        for (int i = 0; i < tiles.rects.size(); ++i)
            drawPart(painter, target, tiles.size, tiles.tiles.at(i), tiles.rects.at(i), tiles.tiles.at(i).rect());
        return;
    }

    m_bandValid = false;
    const QPixmap single = doSingleNote(trainingLayer(path));
    if (single.isNull())
        return;
    if (!m_bandValid || single.size() != tiles.size) {
        // A board with its own single-position rule: draw whatever it returned.
        drawPart(painter, target, single.size(), single, single.rect(), single.rect());
        return;
    }
    const QRect band(m_lastBand.left, 0, m_lastBand.right - m_lastBand.left, tiles.size.height());
    for (const QRect& rect : qAsConst(tiles.rects)) {
        const QRect part = rect & band;
        if (!part.isEmpty())
            drawPart(painter, target, tiles.size, single, part, part);
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
