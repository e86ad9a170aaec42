#pragma once

#include <QFrame>
#include <QMap>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QVector>

class QLabel;
class QPushButton;
class QPainter;

namespace RIRurud {

// The staff of notes above an instrument's fingerboard: a treble and a bass staff (either can be
// switched off) with their clefs, short ledger lines for the rest of its range, and one note that
// follows the mouse. Hovering reports the note under the pointer through noteChanged(); a press
// reports it and sounds it; three buttons choose the accidental drawn beside the note.
// slotShowNote() places a note that a board found, without reporting it back.
//
// The page configures the staff once, before it is first shown: the lines follow the stored values
// at the next paint; the position map and the scaled pictures follow at the next resize.
class NotesWidget : public QFrame
{
    Q_OBJECT
public:
    explicit NotesWidget(QWidget* parent = nullptr);
    ~NotesWidget() override;

    void setPaperHeightFactor(const float& factor);
    void setStartLine(const int& line);
    void setLines(const int& lines);
    void setTranslateLines(const int& lines);
    void setNoBass(bool noBass);
    void setNoViolin(bool noViolin);
    void setInstrumentName(const QString& name);

    bool isFlat() const;
    bool isSharp() const;
    bool isNatural() const;
    int pianoLines() const;
    float linesHeight() const;
    float shortLineWidth() const;   // half length of a short line
    float noteWidth() const;
    int c4() const;
    QPoint nameToPos(const QString& name) const;

    // Where the note is ((0, 0): none shown) and the natural name last found under it.
    QPoint pointerPosition() const { return m_pointer; }
    QString currentName() const { return m_currentName; }
    QString instrumentName() const { return m_instrumentName; }

signals:
    void noteChanged(const QString& note, int accidental);

public slots:
    void slotShowNote(const QString& note, int accidental);
    void slotSetFlat();
    void slotSetSharp();
    void slotSetNatural();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawNote(QPainter* painter);
    void setNote(const QString& name, const QString& solfege);
    void setNoteLabel(const QString& note, const QString& solfege, int accidental);
    void generateNamePosMap();

    int buttonAccidental() const;
    QRect noteArea(const QPoint& pointer) const;   // what a paint of the note at this pointer touches
    double pixelRatio() const;

    QPoint m_pointer;
    QVector<QString> m_solfegeNames;
    QString m_currentName;
    QLabel* m_noteLabel = nullptr;
    QPushButton* m_flatButton = nullptr;
    QPushButton* m_sharpButton = nullptr;
    QPushButton* m_naturalButton = nullptr;
    QPixmap m_notePixmap;
    QMap<QString, int> namePos;
    QString m_instrumentName;
    float m_paperHeightFactor = 1.0f;
    int m_startLine = 0;
    int m_lines = 27;
    int m_translateLines = 0;
    QPixmap m_violinKeyPixmap;
    QPixmap m_bassKeyPixmap;
    bool m_keysStale = true;
    bool m_noteStale = true;
    bool m_noBass = false;
    bool m_noViolin = false;

    // What the last paint showed, so that a move within the same band and with the same sign
    // requests no paint at all.
    int m_paintedAccidental = 0;
};

} // namespace RIRurud
