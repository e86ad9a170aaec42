#pragma once

#include <QFrame>
#include <QString>

class QAbstractButton;
class QButtonGroup;

namespace RIRurud {

// The chord chooser at the top of a chord page: 21 exclusive root buttons (every letter flat,
// natural and sharp, in three rows) beside eleven exclusive quality buttons. A major chord is chosen
// at first. Every choice, by a click or by setChord(), is announced as chordChanged(index, name).
class ChordsButtonsPanel : public QFrame
{
    Q_OBJECT
public:
    explicit ChordsButtonsPanel(QWidget* parent = nullptr);

    // Chooses the chord of a name ("A", "F #7", "B\u266Dm") on the buttons and announces it with
    // the name as given. A name that is no chord changes nothing and announces nothing; the result
    // says whether the name was a chord.
    bool setChord(const QString& name);

    // Index 0..131 of a chord name; -1 when the name is no chord.
    static int stringToChord(const QString& name);

    // The checked root's spelling, the checked quality's suffix ("" for major), and both together.
    QString currentChordPart1() const;
    QString currentChordPart2() const;
    QString currentChord() const;

    QAbstractButton* rootButton(const QString& spelling) const;
    QAbstractButton* qualityButton(const QString& suffix) const;

signals:
    void chordChanged(int index, const QString& name);

private slots:
    void slotButtonClicked();

private:
    QButtonGroup* m_roots;
    QButtonGroup* m_qualities;
};

} // namespace RIRurud
