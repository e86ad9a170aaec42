#pragma once

#include <QFrame>
#include <QPixmap>

class QAction;
class QMenu;
class QPushButton;

namespace REZirudid {

// The top bar of a page (object name "MenuBar", 45 pixels high): picture buttons for the
// application (About), more apps, rating, sharing and the introduction, and at the right a "More"
// button whose drop-down menu receives the entries added by the page, in call order.
class PromoMenuBar : public QFrame
{
    Q_OBJECT
public:
    explicit PromoMenuBar(QWidget* parent = nullptr);

    // An entry with icon and title that opens the URL with the desktop's URL handler.
    QAction* addMenuLink(const QPixmap& icon, const QString& title, const QString& url);
    // The action stays owned by its parent.
    void addMenuAction(QAction* action);
    void addMenuSeparator();
    void hideRateButton();

    QMenu* moreMenu() const { return m_menu; }
    QPushButton* button(const QString& objectName) const;

public slots:
    void slotCallUrl(const QString& url);

private:
    QMenu* m_menu = nullptr;
};

} // namespace REZirudid
