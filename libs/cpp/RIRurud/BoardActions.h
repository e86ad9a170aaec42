#pragma once

// What every board does with a note, whatever its class: a press on a position, a training
// question and the paint of a fretted board. The board classes (BoardBase, GuitarBoard, PianoBoard)
// share these steps; each gives its own signal noteChanged(const QString&, int) and slot
// slotSetNote(const QString&, int).

#include "RIRurud/BoardGeometry.h"
#include "RIRurud/BoardView.h"
#include "RIRurud/NoteName.h"

#include <QPainter>
#include <QPoint>
#include <QString>
#include <QVector>

namespace RIRurud {
namespace BoardActions {

// A press at `point` (widget pixels): the note there lights at once, is announced with noteChanged
// and then sounds from the instrument's sound file. A press on no position does nothing.
template <typename Board>
void answerPress(Board* board, const QPoint& point, const QString& instrument)
{
    const QString note = board->positionToNote(point.x(), point.y());
    if (note.isEmpty())
        return;
    const QString natural = NoteName::naturalName(note);
    const int accidental = NoteName::boardAccidental(note);
    board->slotSetNote(natural, accidental);
    emit board->noteChanged(natural, accidental);
    NoteName::playSoundFile(NoteName::soundFilePath(instrument, NoteName::layerFromBoard(note)));
}

// A training question: a random note of `notes` lights and is announced; nothing sounds. An empty
// list asks nothing.
template <typename Board>
void askNextNote(Board* board, const QVector<QString>& notes)
{
    if (notes.isEmpty())
        return;
    const QString note = notes.at(BoardGeometry::reseededRandom() % notes.size());
    const QString natural = NoteName::naturalName(note);
    const int accidental = NoteName::boardAccidental(note);
    board->slotSetNote(natural, accidental);
    emit board->noteChanged(natural, accidental);
}

// A fretted board's paint: the picture, then the current note's overlay with its bars, cut down in
// training to one position by the board's doSingleNote().
template <typename Board>
void paintFretted(Board* board, BoardView& view, const BoardView::OverlayList& overlays)
{
    QPainter painter(board);
    view.paintPicture(painter, board->size(), overlays);
    if (board->isInTraining())
        view.paintSingle(painter, board->size(), board->currentLayerPath(), board->currentLayerName(),
                         [board](const QPixmap& layer) { return board->doSingleNote(layer); });
    else
        view.paintOverlay(painter, board->size(), board->currentLayerPath(), board->currentLayerName());
}

} // namespace BoardActions
} // namespace RIRurud
