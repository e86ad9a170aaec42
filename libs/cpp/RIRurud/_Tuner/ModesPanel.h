#pragma once

#include "RIRurud/_Tuner/TunersCommonPanel.h"

#include <QPixmap>
#include <QString>

class QAction;
class QSignalMapper;

namespace RIRurud {

// The control row of a tuner page: the common panel (Repeat, Pitch, App) and, at its right end, a
// Modes button a page may fill with its instrument's variants (hidden until the page shows it)
// and a More button whose menu holds web links: other applications of the maker and the
// instrument's six reference links.
class ModesPanel : public TunersCommonPanel
{
    Q_OBJECT
public:
    explicit ModesPanel(QWidget* parent = nullptr);

    QPushButton* modesButton() const { return m_modesButton; }
    QPushButton* moreButton() const { return m_moreButton; }
    QMenu* moreMenu() const { return m_moreMenu; }

    // Hides Pitch, Repeat and App (the explorer beside the page offers them).
    void hideAppOptions();

    void setMustHave(const QString& url) { m_mustHave = url; }
    void setNiceToHave(const QString& url) { m_niceToHave = url; }
    void setRead(const QString& url) { m_read = url; }
    void setHear(const QString& url) { m_hear = url; }
    void setSee(const QString& url) { m_see = url; }
    void setWikipedia(const QString& url) { m_wikipedia = url; }

    // Appends the five shop entries, a separator and the encyclopedia entry to the More menu.
    void addBaseActions();
    // Appends an entry that opens url.
    void addMenuLink(const QPixmap& icon, const QString& title, const QString& url);
    // Appends an entry that opens an application's page in the application store.
    void addMenuAppLink(const QPixmap& icon, const QString& title, const QString& appName, const QString& storeId);
    void addMenuAction(QAction* action);
    void addMenuSeparator();

    // The application store's page of an application: endpoint + "/app/" + lower-case name + "/"
    // + store identifier + "?ls=1&mt=12".
    static QString storeLink(const QString& appName, const QString& storeId);

public slots:
    void slotMustHave();
    void slotNiceToHave();
    void slotRead();
    void slotHear();
    void slotSee();
    void slotWikipedia();
    void slotCallUrl(const QString& url);

private:
    QSignalMapper* m_mapper = nullptr;
    QPushButton* m_modesButton = nullptr;
    QPushButton* m_moreButton = nullptr;
    QMenu* m_moreMenu = nullptr;
    QString m_mustHave;
    QString m_niceToHave;
    QString m_read;
    QString m_hear;
    QString m_see;
    QString m_wikipedia;
};

} // namespace RIRurud
