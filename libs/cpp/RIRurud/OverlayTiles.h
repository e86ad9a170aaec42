#pragma once

// The overlays of every board (the pictures that mark a note's positions, or light a piano key) are
// big, mostly transparent pictures: 2048 x 497, about 4 MB decoded. Each is decoded once, cut into
// the few small tiles that hold its marks and dropped; only the tiles are kept, shared by every
// board (about 1% of the decoded picture), and a paint draws those tiles scaled.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

namespace RIRurud {

class OverlayTiles
{
public:
    QSize size;   // of the whole overlay; empty when the picture is missing
    QVector<QRect> rects;
    QVector<QImage> tiles;   // Format_ARGB32_Premultiplied, pixel ratio 1, one per rect
    qint64 bytes = 0;

    using Ptr = std::shared_ptr<const OverlayTiles>;

    // The tiles of the overlay at `path`, cut now if no one has cut them yet. Thread-safe.
    static Ptr of(const QString& path);
    // Cuts, on a worker thread, every overlay of `paths` not cut yet, one at a time.
    static void preload(const QStringList& paths);
    // Whether the overlay at `path` has been cut.
    static bool isCut(const QString& path);

    // What the tiles of every board take: the overlays cut so far and the bytes of their pixels.
    struct Use
    {
        int layers = 0;
        qint64 bytes = 0;
    };
    static Use use();

    // The whole overlay put back together from its tiles (an empty picture when it is missing).
    QImage assembled() const;
    // Where the part `source` of the overlay lands when the overlay is stretched over `target`.
    QRectF partTarget(const QRectF& target, const QRect& source) const;
};

} // namespace RIRurud
