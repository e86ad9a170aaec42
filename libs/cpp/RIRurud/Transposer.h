#pragma once

#include "RIRurud/ChordBook.h"

#include <QFrame>
#include <QStringList>

class QAction;
class QMenu;
class QPushButton;

namespace RIRurud {

class ChordsButtonsPanel;
class ChordsTabBar;
class FavoritesDeleteDlg;

// The strip at the foot of a chord page: a chord sequence as a row of tabs. "+" adds the chord the
// page's buttons panel shows, "-" removes the current tab, a click on a tab shows that chord (and
// plays it while sound is on), the Transpose menu moves the whole sequence by 1 to 11 semitones,
// and the Favorites menu stores and recalls named sequences in the settings, which every chord page
// shares.
class Transposer : public QFrame
{
    Q_OBJECT
public:
    explicit Transposer(QWidget* parent = nullptr);

    // The panel whose chord "+" adds and on which a clicked tab's chord is set (not owned).
    void setChordsButtonsPanel(ChordsButtonsPanel* panel);

    // The current tab, -1 without tabs; setting it plays nothing and leaves the page's chord.
    int currentChordIndex() const;
    void setCurrentChordIndex(int index);
    // The tabs' chord entries (root, line feed, suffix), left to right.
    QStringList currentChords() const;
    void setCurrentChords(const QStringList& chords);

    // Reads whether tab clicks sound the chord from the settings into the sound button.
    void updateState();
    // Reads the favourites from the settings and builds the Favorites menu and the delete list.
    void recreateFavoritesMenu();

    ChordBook::Favorites favorites() const { return m_favorites; }
    ChordsTabBar* tabBar() const { return m_tabBar; }
    QMenu* transposeMenu() const;
    QMenu* favoritesMenu() const { return m_favoritesMenu; }
    QAction* saveAction() const { return m_saveAction; }
    FavoritesDeleteDlg* deleteDialog() const { return m_deleteDialog; }
    QPushButton* transposeButton() const { return m_transposeButton; }
    QPushButton* removeButton() const { return m_removeButton; }
    QPushButton* soundButton() const { return m_soundButton; }

signals:
    void play();

public slots:
    void slotSoundClicked();
    void slotTransposeD();
    void slotTransposeB();
    void slotNewFavorite();
    void slotSaveFavorite();
    void slotLoadFavorite();
    void slotDeleteFavorite();
    void slotTabClicked();
    void slotAddChord();
    void slotRemoveChord();
    void slotChordsCountChanged(int count);

private:
    void transpose(QAction* action, bool up);
    void readFavorites();
    void saveFavorites();
    // Rebuilds the menu once the menu action being handled has returned: the rebuild deletes it.
    void recreateFavoritesMenuLater();
    void setSoundText();

    ChordsTabBar* m_tabBar;
    ChordsButtonsPanel* m_panel = nullptr;
    QMenu* m_favoritesMenu = nullptr;
    ChordBook::Favorites m_favorites;
    QPushButton* m_transposeButton;
    QAction* m_saveAction = nullptr;
    QPushButton* m_removeButton;
    QPushButton* m_soundButton;
    FavoritesDeleteDlg* m_deleteDialog;
};

} // namespace RIRurud
