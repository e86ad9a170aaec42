#pragma once

#include "RIRurud/ChordBook.h"

#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QUrl>
#include <QVector>
#include <QWidget>

class QPainter;

namespace RIRurud {

// What the three chord pictures share: the chord shown (index, name and tab), the instrument it
// is drawn for, a white background, and dragging the picture out of the program as a PNG file.
//
// Tab: one fret per string in the instrument's string order (0 open, negative muted), or for the
// piano 24 keys from C3 (0 pressed, -1 not).
class ChordBaseView : public QWidget
{
    Q_OBJECT
public:
    explicit ChordBaseView(QWidget* parent = nullptr);

    void setChordTabAndName(int index, const QVector<int>& tab, const QString& name);
    void setInstrumentName(const QString& name);

    int chordIndex() const { return m_chordIndex; }
    QString chordName() const { return m_chordName; }
    QVector<int> tab() const { return m_tab; }
    QString instrumentName() const { return m_instrumentName; }

    // Twelve characters, '0' for a pitch class whose key is pressed in either octave, 'X' otherwise.
    QString pianoTabToCode() const;

    // Writes the picture as "Chord.png" into the work directory (whole, or not at all) and returns
    // the file's URL; an empty URL when it cannot be written.
    QUrl writeDragFile();
    // Drags the picture out: the file of writeDragFile(), offered as its one URL.
    void startDrag();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // The diagram's and the tablature's painting: the white ground, then the keys' picture on the
    // piano and the strings otherwise.
    void paintChart(bool antialiased);
    virtual void drawStrings(QPainter* painter);
    virtual void drawKeys(QPainter* painter);

    // Draws a compiled-in picture as large as fits the widget, centred, aspect ratio kept, scaled
    // smoothly for the screen's pixel ratio. A missing picture draws nothing.
    void drawCenteredPicture(QPainter* painter, const QString& path);
    // The piano's face of the diagram and the tablature: the picture, and the chord's name on a
    // light box across its top.
    void drawKeysPicture(QPainter* painter, const QString& path);
    // Writes the chord's name centred at the top at pixel size H/7 + 7, or smaller when that would
    // reach below `bottom`, where the drawing under it begins.
    void drawName(QPainter* painter, int bottom);
    // The compiled-in picture of the chord shown in one of the three views.
    QString picturePath(ChordBook::View view) const;

    QPoint dragStartPosition;
    int m_chordIndex = 0;
    QString m_chordName;
    QVector<int> m_tab;
    QString m_instrumentName;

private:
    // The last picture drawn, decoded at the size it was drawn at: repaints of the same chord at
    // the same size do not decode again.
    QString m_cachedPath;
    QSize m_cachedSize;
    QPixmap m_cached;
};

} // namespace RIRurud
