#pragma once

// What every board widget draws, apart from the widget: the board picture and, over it, the overlay
// of the current note, whole or, in training, cut down to one position.
//
// The overlay pictures leave out the marks that are bars (BoardMarks::barCells): a picture scaled
// to the board's width would make them a pixel or two wide. The view draws those itself with the
// overlay, on exactly the screen pixels whose press answers their cells (BoardGeometry::barPixels).
//
// Memory: nothing is decoded when a view is made. The picture's proportions come from the file's
// header; the picture itself is decoded on the first paint, straight to the size it is drawn at.
// Overlays are kept as tiles (OverlayTiles); after its first paint a view has the board's remaining
// overlays cut on a worker thread, so a later note shows at once.

#include "RIRurud/BoardGeometry.h"

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QPainter;

namespace RIRurud {

class BoardView
{
public:
    // `table` is the board whose bars the view draws (none without it).
    explicit BoardView(const QString& picturePath, const BoardTables::BoardTable* table = nullptr);

    QString picturePath() const { return m_picturePath; }
    // The picture's size in pixels as read from the file's header (empty when it is missing).
    QSize pictureSize() const { return m_pictureSize; }
    // Width / height of the picture; without a picture, of the 800 x 194 board frame.
    float aspectRatio() const;

    // The device pixel ratio boards draw at: the application object's.
    static double devicePixelRatio();

    // Lists the board's overlay paths; asked only on the first paint, so later paints (one per note
    // hovered) build no list.
    using OverlayList = std::function<QStringList()>;
    // Draws the picture stretched over (0, 0, size), decoded at size x dpr; the first paint has
    // the overlays `overlays` lists cut ahead.
    void paintPicture(QPainter& painter, const QSize& size, const OverlayList& overlays);
    // Draws the overlay at `path` stretched over (0, 0, size), with the bars of its note `layer`
    // (layer form, "Ad5"). An empty path or a missing picture draws nothing.
    void paintOverlay(QPainter& painter, const QSize& size, const QString& path, const QString& layer = QString());

    // Training: draws one position of the overlay at `path` and of the bars of `layer`. `single` is
    // the board's single-position mask (normally singleNote()); the whole overlay is handed to it,
    // and when it is this view's own mask only the tiles and bars within its band are drawn.
    using SingleNote = std::function<QPixmap(const QPixmap&)>;
    void paintSingle(QPainter& painter, const QSize& size, const QString& path, const QString& layer,
                     const SingleNote& single);

    // The single-position mask: a copy of the layer, transparent everywhere but in the columns
    // around one marked position found near a random column (BoardGeometry::markedColumn and
    // bandAround), with a pixel ratio of 1 / dpr. An empty layer gives an empty picture. For the
    // overlay training shows, the search also finds its bars (which the copy leaves out).
    QPixmap singleNote(const QPixmap& layer);

    // Lets go of the whole-size overlay that training keeps.
    void leaveTraining();

private:
    const QPixmap& trainingOverlay(const QString& path, const QString& layer);
    QVector<BoardMarks::BarCells> barsOf(const QString& layer) const;

    QString m_picturePath;
    const BoardTables::BoardTable* m_table = nullptr;
    QSize m_pictureSize;
    // The picture decoded at the current size and pixel ratio.
    QPixmap m_scaled;
    bool m_preloadStarted = false;
    // The band kept by the last singleNote() (columns of the overlay); valid only right after it.
    BoardGeometry::Band m_lastBand;
    bool m_bandValid = false;
    // The overlay shown in training, rebuilt from its tiles when the note changes, with its bars
    // filled in, as a picture and as the image the search reads; and the bars.
    QString m_trainingPath;
    QPixmap m_trainingOverlay;
    QImage m_trainingSource;
    QVector<BoardMarks::BarCells> m_trainingBars;
};

} // namespace RIRurud
