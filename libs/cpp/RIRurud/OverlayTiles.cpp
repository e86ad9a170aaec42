#include "RIRurud/OverlayTiles.h"

#include "RIRurud/BoardGeometry.h"

#include <QCoreApplication>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

#include <atomic>
#include <mutex>

namespace RIRurud {

namespace {

// The tiles of every overlay cut so far, by path, shared by all boards and by the worker that cuts
// overlays ahead.
class TileCache
{
public:
    OverlayTiles::Ptr find(const QString& path)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_entries.value(path);
    }
    // Keeps the first entry stored for a path (the worker and a paint may both cut one overlay).
    OverlayTiles::Ptr insert(const QString& path, OverlayTiles::Ptr entry)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_entries.find(path);
        if (it != m_entries.end())
            return *it;
        m_bytes += entry->bytes;
        m_entries.insert(path, entry);
        return entry;
    }
    OverlayTiles::Use use()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        OverlayTiles::Use result;
        result.layers = m_entries.size();
        result.bytes = m_bytes;
        return result;
    }

private:
    // A standard mutex, which thread checkers see, unlike Qt's futex-based one.
    std::mutex m_mutex;
    QHash<QString, OverlayTiles::Ptr> m_entries;
    qint64 m_bytes = 0;
};

TileCache& tileCache()
{
    // Never destroyed: a worker may still be cutting an overlay while the program ends.
    static auto* cache = new TileCache;
    return *cache;
}

// The overlays waiting to be cut ahead, and whether a worker is taking them.
struct CutQueue
{
    std::mutex mutex;
    QStringList pending;
    bool working = false;
};

CutQueue& cutQueue()
{
    // Never destroyed, like the cache.
    static auto* queue = new CutQueue;
    return *queue;
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
OverlayTiles::Ptr cut(const QString& path)
{
    auto entry = std::make_shared<OverlayTiles>();
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
        // Pictures named "@2x" are read with a pixel ratio of 2; the boards map pixels themselves.
        tile.setDevicePixelRatio(1);
        entry->bytes += tile.sizeInBytes();
        entry->tiles.append(tile);
    }
    return entry;
}

} // namespace

OverlayTiles::Ptr OverlayTiles::of(const QString& path)
{
    TileCache& cache = tileCache();
    if (Ptr found = cache.find(path))
        return found;
    return cache.insert(path, cut(path));
}

bool OverlayTiles::isCut(const QString& path)
{
    return bool(tileCache().find(path));
}

void OverlayTiles::preload(const QStringList& paths)
{
    QStringList missing;
    for (const QString& path : paths) {
        if (!path.isEmpty() && !missing.contains(path) && !isCut(path))
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
    // One worker at a time, one overlay at a time: it holds at most one decoded picture. The
    // paths go to it through a queue under a standard mutex, never inside the task itself.
    CutQueue& queue = cutQueue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    for (const QString& path : qAsConst(missing)) {
        if (!queue.pending.contains(path))
            queue.pending.append(path);
    }
    if (queue.working)
        return;
    queue.working = true;
    QThreadPool::globalInstance()->start([] {
        CutQueue& queue = cutQueue();
        for (;;) {
            QString path;
            {
                std::lock_guard<std::mutex> lock(queue.mutex);
                if (g_stopCutting)
                    queue.pending.clear();
                if (queue.pending.isEmpty()) {
                    queue.working = false;
                    return;
                }
                path = queue.pending.takeFirst();
            }
            if (!isCut(path))
                tileCache().insert(path, cut(path));
        }
    });
}

OverlayTiles::Use OverlayTiles::use()
{
    return tileCache().use();
}

QImage OverlayTiles::assembled() const
{
    if (size.isEmpty())
        return QImage();
    // The tiles hold every visible pixel of the overlay, so putting them back gives the picture.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int i = 0; i < rects.size(); ++i)
        painter.drawImage(rects.at(i).topLeft(), tiles.at(i));
    painter.end();
    return image;
}

QRectF OverlayTiles::partTarget(const QRectF& target, const QRect& source) const
{
    const qreal sx = target.width() / size.width();
    const qreal sy = target.height() / size.height();
    return QRectF(target.x() + source.x() * sx, target.y() + source.y() * sy, source.width() * sx,
                  source.height() * sy);
}

} // namespace RIRurud
