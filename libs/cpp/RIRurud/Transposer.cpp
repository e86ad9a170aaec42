#include "RIRurud/Transposer.h"

#include "REZirudid/App.h"
#include "REZirudid/MessageBox.h"
#include "RIRurud/ChordsButtonsPanel.h"
#include "RIRurud/ChordsTabBar.h"
#include "RIRurud/FavoritesDeleteDlg.h"
#include "RIRurud/MusicSettings.h"

#include <QAction>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace RIRurud {

namespace {

bool isPocket()
{
    const REZirudid::App* app = REZirudid::App::theApp();
    return app && app->isPocketDevice();
}

// A favourite's menu line holds this many characters of an average width; a longer name is cut
// short in the middle.
constexpr int kMenuNameChars = 48;

// A favourite's name as its menu line shows it: as stored, a tab as blanks (a tab would start the
// shortcut column), cut short when it is wider than `width`, an "&" as itself (no mnemonic).
QString menuText(const QString& name, const QFontMetrics& metrics, int width, bool* cut)
{
    QString shown = name;
    shown.replace(QLatin1Char('\t'), QStringLiteral("    "));
    const QString elided = metrics.elidedText(shown, Qt::ElideMiddle, width);
    *cut = elided != shown;
    shown = elided;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QPushButton* flatButton(const QString& text, const QString& objectName)
{
    auto* button = new QPushButton(text);
    button->setFlat(true);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

Transposer::Transposer(QWidget* parent)
    : QFrame(parent)
    , m_deleteDialog(nullptr)
{
    setObjectName(QStringLiteral("Transposer"));
    m_deleteDialog = new FavoritesDeleteDlg(this);

    m_tabBar = new ChordsTabBar;
    m_tabBar->setMovable(true);
    m_tabBar->setUsesScrollButtons(true);
    m_tabBar->setExpanding(false);
    m_tabBar->setDrawBase(false);
    connect(m_tabBar, &ChordsTabBar::tabClicked, this, &Transposer::slotTabClicked);
    connect(m_tabBar, &ChordsTabBar::countChanged, this, &Transposer::slotChordsCountChanged);

    QPushButton* add = flatButton(QStringLiteral("+"), QStringLiteral("PushButtonAdd"));
    QPushButton* favorites = flatButton(tr("Favorites"), QStringLiteral("TransposerButton"));
    m_soundButton = flatButton(tr("Sound On"), QStringLiteral("TransposerButton"));
    m_transposeButton = flatButton(tr("Transpose"), QStringLiteral("TransposerButton"));
    m_removeButton = flatButton(QStringLiteral("-"), QStringLiteral("PushButtonRemove"));
    m_soundButton->setCheckable(true);
    updateState();
    connect(add, &QPushButton::clicked, this, &Transposer::slotAddChord);
    connect(m_removeButton, &QPushButton::clicked, this, &Transposer::slotRemoveChord);
    connect(m_soundButton, &QPushButton::clicked, this, &Transposer::slotSoundClicked);
    add->setToolTip(tr("Add chord"));
    m_removeButton->setToolTip(tr("Remove selected chord"));
    add->setFixedSize(40, 40);
    m_removeButton->setFixedSize(40, 40);
    for (QPushButton* button : {m_transposeButton, favorites, m_soundButton})
        button->setFixedHeight(40);

    // Up by 11 down to 1 semitones, then down by 1 to 11; each entry carries its step as data.
    auto* transposeMenu = new QMenu(m_transposeButton);
    transposeMenu->setObjectName(QStringLiteral("TransposerMenu"));
    for (int n = 11; n >= 1; --n) {
        QAction* action = transposeMenu->addAction(QString::number(n) + QStringLiteral(" #"), this, &Transposer::slotTransposeD);
        action->setData(n);
    }
    for (int n = 1; n <= 11; ++n) {
        QAction* action = transposeMenu->addAction(QString::number(n) + ChordBook::flatSign(), this, &Transposer::slotTransposeB);
        action->setData(n);
    }
    m_transposeButton->setMenu(transposeMenu);

    m_favoritesMenu = new QMenu(favorites);
    m_favoritesMenu->setObjectName(QStringLiteral("FavoritesMenu"));
    m_favoritesMenu->setToolTipsVisible(true);
    recreateFavoritesMenu();
    favorites->setMenu(m_favoritesMenu);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(3);
    buttonRow->setContentsMargins(1, 1, 1, 1);
    buttonRow->addWidget(add);
    buttonRow->addSpacing(4);
    buttonRow->addWidget(m_removeButton);
    buttonRow->addSpacing(4);
    buttonRow->addWidget(m_soundButton);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_transposeButton);
    buttonRow->addStretch(1);
    buttonRow->addWidget(favorites);

    auto* tabRow = new QHBoxLayout;
    tabRow->setSpacing(0);
    tabRow->setContentsMargins(0, 0, 0, 0);
    tabRow->addWidget(m_tabBar);

    const bool pocket = isPocket();
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("TransposerFrame"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setSpacing(pocket ? 1 : 3);
    frameLayout->setContentsMargins(pocket ? 1 : 3, pocket ? 1 : 3, pocket ? 1 : 3, pocket ? 1 : 3);
    frameLayout->addLayout(buttonRow);
    frameLayout->addLayout(tabRow);

    auto* layout = new QHBoxLayout(this);
    if (pocket) {
        layout->setSpacing(1);
        layout->setContentsMargins(1, 1, 1, 1);
    }
    layout->addWidget(frame);

    slotChordsCountChanged(0);
}

void Transposer::setChordsButtonsPanel(ChordsButtonsPanel* panel)
{
    m_panel = panel;
}

int Transposer::currentChordIndex() const
{
    return m_tabBar->currentIndex();
}

void Transposer::setCurrentChordIndex(int index)
{
    m_tabBar->setCurrentIndex(index);
}

QStringList Transposer::currentChords() const
{
    QStringList chords;
    for (int i = 0; i < m_tabBar->count(); ++i)
        chords << m_tabBar->tabText(i);
    return chords;
}

void Transposer::setCurrentChords(const QStringList& chords)
{
    while (m_tabBar->count() > 0)
        m_tabBar->removeTab(0);
    for (const QString& chord : chords)
        m_tabBar->addTab(chord);
}

QMenu* Transposer::transposeMenu() const
{
    return m_transposeButton->menu();
}

void Transposer::updateState()
{
    const REZirudid::App* app = REZirudid::App::theApp();
    m_soundButton->setChecked(app ? app->settingsValue(SettingsKeys::transposerSoundOn(), true).toBool() : true);
    setSoundText();
}

void Transposer::setSoundText()
{
    m_soundButton->setText(m_soundButton->isChecked() ? tr("Sound On") : tr("Sound Off"));
}

void Transposer::slotSoundClicked()
{
    setSoundText();
    if (REZirudid::App* app = REZirudid::App::theApp())
        app->setSettingsValue(SettingsKeys::transposerSoundOn(), m_soundButton->isChecked());
}

void Transposer::slotTransposeD()
{
    transpose(qobject_cast<QAction*>(sender()), true);
}

void Transposer::slotTransposeB()
{
    transpose(qobject_cast<QAction*>(sender()), false);
}

void Transposer::transpose(QAction* action, bool up)
{
    if (!action || !m_panel || m_tabBar->count() == 0)
        return;
    bool ok = false;
    const int steps = action->data().toInt(&ok);
    if (!ok)
        return;
    for (int i = 0; i < m_tabBar->count(); ++i)
        m_tabBar->setTabText(i, ChordBook::transposeEntry(m_tabBar->tabText(i), steps, up));
}

void Transposer::slotTabClicked()
{
    if (!m_panel || m_tabBar->currentIndex() < 0)
        return;
    // A tab that names no chord (a damaged favourite) shows and plays nothing.
    if (m_panel->setChord(ChordBook::entryName(m_tabBar->tabText(m_tabBar->currentIndex())))
        && m_soundButton->isChecked())
        emit play();
}

void Transposer::slotAddChord()
{
    if (!m_panel)
        return;
    m_tabBar->addTab(m_panel->currentChordPart1() + QLatin1Char('\n') + m_panel->currentChordPart2());
}

void Transposer::slotRemoveChord()
{
    if (m_tabBar->currentIndex() >= 0)
        m_tabBar->removeTab(m_tabBar->currentIndex());
}

void Transposer::slotChordsCountChanged(int count)
{
    const bool any = count != 0;
    m_transposeButton->setEnabled(any);
    m_removeButton->setEnabled(any);
    m_soundButton->setEnabled(any);
    if (m_saveAction)
        m_saveAction->setEnabled(any);
}

// ------------------------------------------------------------------------------------------------
// Favourites

void Transposer::readFavorites()
{
    m_favorites = ChordBook::readFavorites();
}

void Transposer::saveFavorites()
{
    ChordBook::writeFavorites(m_favorites);
}

void Transposer::recreateFavoritesMenu()
{
    readFavorites();
    m_favoritesMenu->clear();
    m_favoritesMenu->addAction(QIcon(QStringLiteral(":/new.png")), tr("&New"), this, &Transposer::slotNewFavorite);
    m_saveAction = m_favoritesMenu->addAction(QIcon(QStringLiteral(":/save.png")), tr("&Save..."), this,
                                              &Transposer::slotSaveFavorite);
    m_saveAction->setEnabled(m_tabBar->count() != 0);
    m_favoritesMenu->addAction(QIcon(QStringLiteral(":/delete.png")), tr("&Delete..."), this,
                               &Transposer::slotDeleteFavorite);
    m_deleteDialog->clearItems();
    for (auto it = m_favorites.cbegin(); it != m_favorites.cend(); ++it)
        m_deleteDialog->addItem(it.key());
    m_favoritesMenu->addSeparator();
    // A long name is cut short to keep the menu narrow; its tool tip gives it whole.
    m_favoritesMenu->ensurePolished();
    const QFontMetrics metrics = m_favoritesMenu->fontMetrics();
    for (auto it = m_favorites.cbegin(); it != m_favorites.cend(); ++it) {
        bool cut = false;
        QAction* action = m_favoritesMenu->addAction(menuText(it.key(), metrics, metrics.averageCharWidth() * kMenuNameChars, &cut),
                                                     this, &Transposer::slotLoadFavorite);
        action->setData(it.key());
        if (cut)
            action->setToolTip(it.key());
    }
}

void Transposer::recreateFavoritesMenuLater()
{
    QMetaObject::invokeMethod(this, &Transposer::recreateFavoritesMenu, Qt::QueuedConnection);
}

void Transposer::slotNewFavorite()
{
    setCurrentChords({});
}

void Transposer::slotSaveFavorite()
{
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Save Favorite"), tr("Favorite's Name:"), QLineEdit::Normal,
                                               QString(), &ok);
    if (!ok)
        return;
    if (name.isEmpty()) {
        REZirudid::MessageBox::warning(this, tr("Warning"), tr("Can not create the favorite without name"),
                                       REZirudid::MessageBox::Ok);
        return;
    }
    if (!ChordBook::isStorableFavoriteName(name)) {
        REZirudid::MessageBox::warning(this, tr("Warning"), tr("A favorite's name can not hold \":\""),
                                       REZirudid::MessageBox::Ok);
        return;
    }
    // What another page stored since this menu was built stays.
    readFavorites();
    // No more are read back than the limit: a new name past it would be lost without a word.
    if (!m_favorites.contains(name) && m_favorites.size() >= ChordBook::kMaxFavorites) {
        REZirudid::MessageBox::warning(this, tr("Warning"),
                                       tr("The favorites list is full: delete one before saving another"),
                                       REZirudid::MessageBox::Ok);
        return;
    }
    m_favorites.insert(name, currentChords());
    saveFavorites();
    recreateFavoritesMenuLater();
}

void Transposer::slotLoadFavorite()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const auto it = m_favorites.constFind(action->data().toString());
    if (it != m_favorites.cend())
        setCurrentChords(it.value());
}

void Transposer::slotDeleteFavorite()
{
    // A favourite stored with an empty name is chosen like any other.
    if (m_deleteDialog->exec() != QDialog::Accepted || !m_deleteDialog->hasItem())
        return;
    const QString name = m_deleteDialog->item();
    const int answer = REZirudid::MessageBox::warning(
        this, tr("Warning"), tr("Remove the favorite:\n \"") + name + tr("\"?"),
        REZirudid::MessageBox::Yes | REZirudid::MessageBox::No, REZirudid::MessageBox::No);
    if (answer != REZirudid::MessageBox::Yes)
        return;
    readFavorites();
    m_favorites.remove(name);
    saveFavorites();
    recreateFavoritesMenuLater();
}

} // namespace RIRurud
