#pragma once

#include "RIRurud/BaseMainPage.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace RIRurud {

class ChordView;
class ChordsButtonsPanel;
class Transposer;

// The frame of every chord page: the page bar, the chord buttons panel, the chord view and the
// transposer, top to bottom, and two tables of 132 chords that the instrument's page fills from its
// constructor: each chord's tab (what the pictures draw) and its sound list (one file per string or
// key, "" for a silent one). Choosing a chord on the panel shows it; the play button and a clicked
// transposer tab sound all of its strings or keys at once.
class ChordsMainPage : public BaseMainPage
{
    Q_OBJECT
public:
    explicit ChordsMainPage(QWidget* parent = nullptr);

    void setInstrumentName(const QString& name);
    void setDelay(int delay) { m_delay = delay; }
    int delay() const { return m_delay; }

    int currentChord() const { return m_currentChord; }
    QVector<int> chordTab(int index) const { return m_tabs.value(index); }
    QStringList chordSounds(int index) const { return m_sounds.value(index); }
    QString bundleResourcePath() const { return m_bundleResourcePath; }

    ChordsButtonsPanel* buttonsPanel() const { return m_panel; }
    ChordView* chordView() const { return m_view; }
    Transposer* transposer() const { return m_transposer; }

    // The transposer's, for whoever holds the page.
    int currentChordIndex() const;
    void setCurrentChordIndex(int index);
    QStringList currentChords() const;
    void setCurrentChords(const QStringList& chords);
    void updateState();
    void recreateFavoritesMenu();

    // The chord pages' style sheet with its sizes filled in for a desktop or a pocket device.
    static QString styleSheet(bool pocketDevice);
    // Sets that sheet (for the screen in use) on the whole application, in place of the one in force.
    static void applyStyle();

public slots:
    void slotPlayChord(const QStringList& sounds);
    void slotPlay();
    // Shows chord n under the name str; an index outside 0..131 is ignored.
    void slotSetChordAndName(int n, const QString& str);

protected:
    // Fills all 132 entries of both tables; each instrument page calls it from its constructor.
    virtual void initChords() = 0;
    void setChordEntry(int index, const QVector<int>& tab, const QStringList& sounds);
    // What the page shows first: chord 0, A major.
    void showFirstChord();

private:
    QString m_bundleResourcePath;
    QVector<QStringList> m_sounds;
    QVector<QVector<int>> m_tabs;
    ChordsButtonsPanel* m_panel;
    ChordView* m_view;
    Transposer* m_transposer;
    int m_currentChord = 0;
    int m_delay = 30;
};

} // namespace RIRurud
