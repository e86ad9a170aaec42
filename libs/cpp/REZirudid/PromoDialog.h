#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace REZirudid {

namespace Faces {
struct Face;
}

// A small dialog of picture buttons that each open one link and then close the dialog: the base
// of the share and join-us dialogs. Object name "Dialog".
class PromoDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PromoDialog(QWidget* parent = nullptr);

    // The link each picture button opens, by the button's object name.
    QString linkOf(const QString& objectName) const;

protected:
    void setHeadline(const QString& title, const QString& text);
    // A button drawn by its face; an empty link leaves it disabled.
    QPushButton* addLinkButton(const Faces::Face& face, const QString& url);
    void addCloseButton(const QString& text);

private:
    QLabel* m_text = nullptr;
    QVBoxLayout* m_buttons = nullptr;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace REZirudid
