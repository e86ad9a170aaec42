#pragma once

#include <QFrame>

class QButtonGroup;
class QLabel;
class QPushButton;

// The column of instrument buttons at the left of the main window. Banjo and balalaika, whose pages
// the window holds, form an exclusive pair that reports the chosen one by its object name; the five
// other instruments open the availability dialog and wait for it.
class ItemsPanel : public QFrame
{
    Q_OBJECT
public:
    explicit ItemsPanel(QWidget* parent = nullptr);

    static void applyItemButtonProperties(QPushButton* button, const QString& name);
    static QLabel* applyItemLabelProperties(QLabel* label);

signals:
    void itemChanged(const QString& name);

public slots:
    void slotItemClicked();
    void slotInstrumentClicked();

private:
    QButtonGroup* m_group = nullptr;
    QPushButton* m_guitar = nullptr;
    QPushButton* m_bass = nullptr;
    QPushButton* m_ukulele = nullptr;
    QPushButton* m_violin = nullptr;
    QPushButton* m_mandolin = nullptr;
};
