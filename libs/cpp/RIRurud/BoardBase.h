#pragma once

// The fretted-instrument board: the fingerboard picture with, laid over it, the overlay ("layer")
// that marks every position of the current note; a click on a position names the note, lights it
// and sounds it; two mode buttons "Find Note" and "Training" sit centred at the top; in training
// the overlay is cut down to one randomly chosen position. Subclasses supply the instrument name,
// the note lists and the lookup from a point to a note (see BoardTables.h for the data).
//
// Memory: a board decodes nothing when it is built. The board picture's proportions come from the
// file's header; the picture itself is decoded on the first paint, straight to the size it is drawn
// at. An overlay is decoded once, cut into the few small tiles that hold its marks, and dropped; only
// the tiles are kept (shared by every board, about 1% of the decoded picture). After its first
// paint a board cuts its remaining overlays on a worker thread, so a later note shows at once.

#include "RIRurud/BoardGeometry.h"

#include <QFrame>
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>

class QPushButton;

namespace RIRurud {

class BoardBase : public QFrame
{
    Q_OBJECT
public:
    BoardBase(const QString& instrumentName, QWidget* parent = nullptr);
    ~BoardBase() override;

    // Checks the Training button (the exclusive group unchecks Find Note). Emits nothing.
    void setTrainButtonChecked();
    bool isInTraining() const;
    // Records, for every layer name L, the overlay ":/<Name>_L@2x.png" under ":/<Name>_L.png".
    void createLayers();

    // True when point lies in the 32 x 10 box around centre (x, y), edges included.
    virtual bool isIn(int const& x, int const& y, QPoint const& point) const;
    // Training: a copy of the layer with everything cleared but the columns around one random
    // marked position. An empty layer gives an empty picture.
    virtual QPixmap doSingleNote(const QPixmap& layer);
    // Fills layerNames and trainingNotes.
    virtual void initNotes() = 0;
    // The note (board form, "C4#") under the widget point, or "" when the point hits no position.
    virtual QString positionToNote(int x, int y) const = 0;

    // Read access for the page and for tests.
    QString instrument() const { return instrumentName; }
    QString currentLayerName() const { return currentLayer; }
    QStringList layerNameList() const { return layerNames; }
    QVector<QString> trainingNoteList() const { return trainingNotes; }
    QMap<QString, QString> layerMap() const { return layers; }
    float pictureAspectRatio() const { return aspectRatio; }
    // The board picture's path and its size in pixels as read from the file's header (empty when
    // the picture is missing).
    QString boardPicturePath() const { return m_boardPath; }
    QSize boardPictureSize() const { return m_boardSize; }
    QPushButton* findNoteButton() const { return m_findNoteButton; }
    QPushButton* trainingButton() const { return trainButton; }
    // The overlay path the current layer is drawn from ("" when there is none).
    QString currentLayerPath() const;

    // What the overlay tiles held for every board take: the overlays cut so far and the bytes of
    // their tiles' pixels.
    struct LayerCacheUse
    {
        int layers = 0;
        qint64 bytes = 0;
    };
    static LayerCacheUse layerCacheUse();
    // Cuts, on a worker thread, every overlay of this board not cut yet (the first paint starts it).
    void preloadLayers();

signals:
    void noteChanged(const QString& note, int accidental);
    void traningSelected();
    void findNoteSelected();

public slots:
    // Shows the layer of the note folded to its layer form; an empty name clears the overlay.
    void slotSetNote(const QString& note, int accidental);
    // Draws a random training note, shows it and emits it.
    void slotNextNote();
    // Stores the training flag; repaints nothing.
    void slotSetInTraining(bool on);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Helpers for the table-driven boards.
    void fillNotes(const BoardTables::BoardTable& table);
    QString noteInTable(const BoardTables::BoardTable& table, int x, int y) const;

    QString currentLayer;
    float aspectRatio = 0;
    QMap<QString, QString> layers;
    QPushButton* trainButton = nullptr;
    bool inTraining = false;
    QString instrumentName;
    QStringList layerNames;
    QVector<QString> trainingNotes;

private:
    static double dpr();
    QString layerKey(const QString& layer) const;

    QPushButton* m_findNoteButton = nullptr;
    QString m_boardPath;
    QSize m_boardSize;
    // The board picture decoded at the current size and pixel ratio.
    QPixmap m_scaledBoard;
    // The band kept by the last doSingleNote() (columns of the layer picture); empty when the
    // whole picture must be drawn.
    BoardGeometry::Band m_lastBand;
    bool m_bandValid = false;
    // The overlay shown in training, rebuilt from its tiles when the note changes, as a picture
    // and as the image the search reads.
    QString m_trainingPath;
    QPixmap m_trainingLayer;
    QImage m_trainingSource;
    const QPixmap& trainingLayer(const QString& path);
    bool m_preloadStarted = false;
};

} // namespace RIRurud
