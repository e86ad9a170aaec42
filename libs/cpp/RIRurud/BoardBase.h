#pragma once

// The fretted-instrument board: the fingerboard picture with, laid over it, the overlay ("layer")
// that marks every position of the current note; a click on a position names the note, lights it
// and sounds it; two mode buttons "Find Note" and "Training" sit centred at the top; in training
// the overlay is cut down to one randomly chosen position. Subclasses supply the instrument name,
// the note lists and the lookup from a point to a note (see BoardTables.h for the data).
//
// Drawing, the overlay tiles and the training mask are BoardView's, the buttons BoardModeButtons',
// the press and the question BoardActions': the guitar board shares them without deriving from here.

#include "RIRurud/BoardGeometry.h"
#include "RIRurud/BoardView.h"

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
    QString boardPicturePath() const { return m_view.picturePath(); }
    QSize boardPictureSize() const { return m_view.pictureSize(); }
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
    float aspectRatio = 0;
    QMap<QString, QString> layers;
    QPushButton* trainButton = nullptr;
    bool inTraining = false;
    QString instrumentName;
    QStringList layerNames;
    QVector<QString> trainingNotes;

private:
    QString layerKey(const QString& layer) const;
    QStringList layerPaths() const;

    QPushButton* m_findNoteButton = nullptr;
    BoardView m_view;
};

} // namespace RIRurud
