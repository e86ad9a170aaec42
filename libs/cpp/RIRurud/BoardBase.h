#pragma once

// The fretted-instrument board: the fingerboard picture with, laid over it, the overlay ("layer")
// that marks every position of the current note; a click on a position names the note, lights it
// and sounds it; two mode buttons "Find Note" and "Training" sit centred at the top; in training
// the overlay is cut down to one randomly chosen position. Subclasses supply the instrument name,
// the note lists and the lookup from a point to a note (see BoardTables.h for the data).

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
    QPushButton* findNoteButton() const { return m_findNoteButton; }
    QPushButton* trainingButton() const { return trainButton; }
    // The overlay path the current layer is drawn from ("" when there is none).
    QString currentLayerPath() const;

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
    QPixmap boardPixmap;
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
    // The board picture scaled for the current size and pixel ratio.
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
    // Overlays are decoded ahead, one per turn of the event loop, once the board is first painted.
    int m_preloadIndex = -1;
    void preloadNextLayer();
};

} // namespace RIRurud
