#pragma once

#include <QFrame>

class ItemsPanel;
class QStackedWidget;

namespace RIRurud {
class BalalaikaTonarixMainPage;
class BanjoTonarixMainPage;
}

// The application's window: the instrument column at the left and, beside it, the banjo and
// balalaika pages in a stack. Remembers its size in the settings ("Width", "Height").
class MainPage : public QFrame
{
    Q_OBJECT
public:
    explicit MainPage(QWidget* parent = nullptr);

    static constexpr int kDefaultWidth = 620;
    static constexpr int kDefaultHeight = 620;
    // The stored size, each side falling back to the default when it is missing or not a
    // positive number.
    static QSize storedSize();

    ItemsPanel* itemsPanel() const { return m_panel; }
    QStackedWidget* pages() const { return m_stack; }
    RIRurud::BalalaikaTonarixMainPage* balalaikaPage() const { return m_balalaika; }
    RIRurud::BanjoTonarixMainPage* banjoPage() const { return m_banjo; }

public slots:
    void slotItemChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    ItemsPanel* m_panel = nullptr;
    QStackedWidget* m_stack = nullptr;
    RIRurud::BalalaikaTonarixMainPage* m_balalaika = nullptr;
    RIRurud::BanjoTonarixMainPage* m_banjo = nullptr;
};
