#pragma once

#include <QFrame>
#include <QString>
#include <QVector>

class QPushButton;

namespace RIRurud {

class ChordPhotoView;
class ChordStandardView;
class ChordTabView;

// The middle band of a chord page: a narrow column with the play button and the instrument's
// picture, the fingering diagram above the tablature, and the picture of the hand on the right.
class ChordView : public QFrame
{
    Q_OBJECT
public:
    explicit ChordView(QWidget* parent = nullptr);

    // Names the instrument the three pictures are drawn for; the instrument's label takes the
    // object name "InstrumentLabel_" + name, by which the style sheet shows its picture.
    void setInstrumentName(const QString& name);
    QString instrumentName() const { return m_instrumentName; }
    void setChordTabAndName(int index, const QVector<int>& tab, const QString& name);

    ChordStandardView* standardView() const { return m_standardView; }
    ChordTabView* tabView() const { return m_tabView; }
    ChordPhotoView* photoView() const { return m_photoView; }
    QFrame* instrumentLabel() const { return m_instrumentLabel; }
    QPushButton* playButton() const { return m_playButton; }

    // Appends a line to a file in the support directory unless the file holds that line already.
    static void optimizationProtocol(const QString& fileName, const QString& line);

signals:
    void play();

private:
    ChordStandardView* m_standardView;
    ChordTabView* m_tabView;
    ChordPhotoView* m_photoView;
    QFrame* m_instrumentLabel;
    QPushButton* m_playButton;
    QString m_instrumentName;
};

} // namespace RIRurud
