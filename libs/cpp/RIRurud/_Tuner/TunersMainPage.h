#pragma once

#include "RIRurud/_Tuner/TunerStyle.h"
#include "RIRurud/_Tuner/TunerTables.h"

#include <QFrame>
#include <QString>

class QStackedWidget;

namespace RIRurud {

class TunerBasePage;
class TunersExplorer;

// The frame of the reference-tone tuners: the explorer on the left and a stack of the eleven
// tuner pages beside it, the guitar's in front at start. The explorer's buttons bring their page
// to the front and its Repeat box switches every page. The window's size is kept under "Width"
// and "Height".
class TunersMainPage : public QFrame
{
    Q_OBJECT
public:
    explicit TunersMainPage(QWidget* parent = nullptr, bool hideExplorer = false);

    // Hides Pitch, Repeat and App on every page's own panel (for an owner that shows the
    // explorer, which offers them once for all pages).
    void hideAppOptionsOnEachPage();

    TunersExplorer* explorer() const { return m_explorer; }
    QStackedWidget* stack() const { return m_stack; }
    TunerBasePage* page(TunerTables::Id id) const { return m_pages[id]; }

    // The size the window opens at: the stored "Width" and "Height", 736 x 636 when they are not
    // positive numbers, and no larger than the screen's available area.
    static QSize storedSize();

public slots:
    void slotShowViolin();
    void slotShowViola();
    void slotShowCello();
    void slotShowDoubleBass();
    void slotShowGuitar();
    void slotShowBassGuitar();
    void slotShowUkulele();
    void slotShowBanjo();
    void slotShowBalalaika();
    void slotShowMandolin();
    void slotShowDombra();
    void slotSetRepeatMode(bool on);
    void slotGotoPromotedApp();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(TunerTables::Id id);

    TunersExplorer* m_explorer = nullptr;
    TunerBasePage* m_pages[TunerTables::kTunerCount] = {};
    QStackedWidget* m_stack = nullptr;
};

} // namespace RIRurud
