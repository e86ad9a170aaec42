#pragma once

// The piano keyboard: 88 keys from A0 to C8 drawn across the whole width, the key of the current
// note lit by its overlay (":/Piano_<key number>.png", A0 is 1, C8 88). A press on a key lights it,
// sends its note and sounds it; a note from the staff lights its key. No mode buttons and no
// training. Keys are ranges of x in two bands of the 800 x 194 frame (BoardTables::kPianoKeys);
// the press point is compared unrounded.

#include "RIRurud/BoardView.h"

#include <QFrame>
#include <QMap>
#include <QString>

namespace RIRurud {

class PianoBoard : public QFrame
{
    Q_OBJECT
public:
    explicit PianoBoard(QWidget* parent = nullptr);
    ~PianoBoard() override;

    // The note (board form, "C4", "C4#") of the key under the widget point, or "" on no key.
    QString positionToNote(int x, int y) const;

    // The key number a signal pair lights: 12 x octave - 12 + the letter's offset (C 4 ... B 15) +
    // the accidental's sign; at least 1. 0 for a name that is no note (shorter than two characters
    // or its first not one of the seven upper-case letters): such a name lights no key.
    static int keyNumber(const QString& note, int accidental);

    // Read access for the page and for tests.
    QString currentLayerName() const { return currentLayer; }
    QString currentLayerPath() const;
    QMap<QString, QString> layerMap() const { return layers; }
    float pictureAspectRatio() const { return aspectRatio; }
    QString boardPicturePath() const { return m_view.picturePath(); }

signals:
    void noteChanged(const QString& note, int accidental);

public slots:
    // Lights the key of the note; above C8 nothing is lit, below A0 the A0 key.
    void slotSetNote(const QString& note, int accidental);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString currentLayer;
    QMap<QString, QString> layers;
    float aspectRatio = 0;
    BoardView m_view;
};

} // namespace RIRurud
