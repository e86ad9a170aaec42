#pragma once

// The guitar fingerboard: six strings (E2 A2 D3 G3 B3 E4), 22 frets, 47 notes from E2 to D6. It does
// what a fretted board does (see BoardBase) without deriving from the board base: a frame of its own
// with the guitar's data (BoardTables::kGuitar), drawn, pressed and trained by the same shared parts
// (BoardView, BoardModeButtons, BoardActions). It sets no minimum size: its width comes from the
// layout and its height follows.

#include "RIRurud/BoardView.h"

#include <QFrame>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QVector>

class QPushButton;

namespace RIRurud {

class GuitarBoard : public QFrame
{
    Q_OBJECT
public:
    explicit GuitarBoard(QWidget* parent = nullptr);
    ~GuitarBoard() override;

    // Checks the Training button (the exclusive group unchecks Find Note). Emits nothing.
    void setTrainButtonChecked();
    bool isInTraining() const;
    // The note (board form) under the widget point, or "" on no position.
    QString positionToNote(int x, int y) const;
    // The board base's box test; the guitar's own lookup walks its table instead.
    bool isIn(int const& x, int const& y, QPoint const& point) const;
    // Training: the single-position mask of an overlay.
    QPixmap doSingleNote(const QPixmap& layer);

    // Read access for the page and for tests.
    QString currentLayerName() const { return currentLayer; }
    QString currentLayerPath() const;
    QStringList layerNameList() const;
    QVector<QString> trainingNoteList() const { return trainingNotes; }
    QMap<QString, QString> layerMap() const { return layers; }
    float pictureAspectRatio() const { return aspectRatio; }
    QString boardPicturePath() const { return m_view.picturePath(); }
    QPushButton* findNoteButton() const { return m_findNoteButton; }
    QPushButton* trainingButton() const { return trainButton; }

signals:
    void noteChanged(const QString& note, int accidental);
    void traningSelected();
    void findNoteSelected();

public slots:
    void slotSetNote(const QString& note, int accidental);
    void slotNextNote();
    void slotSetInTraining(bool on);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString currentLayer;
    float aspectRatio = 0;
    QMap<QString, QString> layers;
    QPushButton* trainButton = nullptr;
    QVector<QString> trainingNotes;
    bool inTraining = false;

    QPushButton* m_findNoteButton = nullptr;
    BoardView m_view;
};

} // namespace RIRurud
