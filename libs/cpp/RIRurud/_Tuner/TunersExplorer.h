#pragma once

#include <QFrame>

class QButtonGroup;
class QPushButton;

namespace RIRurud {

class TunersCommonPanel;

// The left column of the tuner window: the common panel on top and, at the bottom, a grid of
// large picture buttons, one per instrument and one for the maker's chord book Harmolux, each
// with its caption below. It only reports clicks; the checked instrument follows the clicks.
class TunersExplorer : public QFrame
{
    Q_OBJECT
public:
    explicit TunersExplorer(QWidget* parent = nullptr);

    TunersCommonPanel* commonPanel() const { return m_commonPanel; }
    QButtonGroup* instrumentGroup() const { return m_group; }

signals:
    void showViolin();
    void showViola();
    void showCello();
    void showDoubleBass();
    void showGuitar();
    void showBassGuitar();
    void showUkulele();
    void showBanjo();
    void showMandolin();
    void showBalalaika();
    void showDombra();
    void showMore();
    void repeatModeChangedTo(bool on);

private:
    TunersCommonPanel* m_commonPanel = nullptr;
    QButtonGroup* m_group = nullptr;
};

} // namespace RIRurud
