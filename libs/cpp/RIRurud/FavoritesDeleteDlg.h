#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace RIRurud {

// Picks the favourite to delete: a list of the names, Delete and Cancel. Each time it is shown the
// first name is chosen and Cancel has the keyboard focus, so that Return deletes nothing.
class FavoritesDeleteDlg : public QDialog
{
    Q_OBJECT
public:
    explicit FavoritesDeleteDlg(QWidget* parent = nullptr);

    // The chosen name; "" when the list is empty (or the chosen favourite has an empty name).
    QString item() const;
    // Whether a name is chosen: false only when the list is empty.
    bool hasItem() const;
    // Puts a name at the top of the list.
    void addItem(const QString& text);
    void clearItems();

    QListWidget* list() const { return m_list; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* m_list;
    QPushButton* m_cancel;
};

} // namespace RIRurud
