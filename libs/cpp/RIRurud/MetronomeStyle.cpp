#include "RIRurud/MetronomeStyle.h"

namespace RIRurud {

// One rule a line. Faces are border images stretched over the whole widget; every picture has an
// "@2x" twin for high-density screens.
QString metronomeStyleSheet()
{
    return QStringLiteral(
        "QFrame#MetronomeMainPage{background: black;}"
        "QFrame#Metronome{background: black; border: none;}"
        "QFrame#MetronomeBeats{background: transparent; border: none;}"
        "QLabel#Beat{border-image:url(:/MetronomeBeatOn.png) 0 0 0 0;}"
        "QLabel#Beat:disabled{border-image:url(:/MetronomeBeatOff.png) 0 0 0 0;}"
        "QFrame#MetronomeControls{background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgba(58,51,44,225), stop:1 rgba(24,20,17,235)); border: 1px solid rgba(241,233,210,60); border-radius: 16px; padding: 10px 14px 12px 14px;}"
        "QLabel#TempoLabel{color: rgb(251,247,238); background: transparent; font-family: \"DejaVu Sans\"; font-size: 40px; font-weight: bold; min-width: 120px; padding: 0px 6px;}"
        "QPushButton#TempoDecButton{border-image:url(:/MetronomeMinus.png) 0 0 0 0;}"
        "QPushButton#TempoDecButton:hover{border-image:url(:/MetronomeMinus_hover.png) 0 0 0 0;}"
        "QPushButton#TempoDecButton:pressed{border-image:url(:/MetronomeMinus_pressed.png) 0 0 0 0;}"
        "QPushButton#TempoIncButton{border-image:url(:/MetronomePlus.png) 0 0 0 0;}"
        "QPushButton#TempoIncButton:hover{border-image:url(:/MetronomePlus_hover.png) 0 0 0 0;}"
        "QPushButton#TempoIncButton:pressed{border-image:url(:/MetronomePlus_pressed.png) 0 0 0 0;}"
        "QPushButton#VisibleTickButton{border-image:url(:/MetronomeEye.png) 0 0 0 0;}"
        "QPushButton#VisibleTickButton:hover{border-image:url(:/MetronomeEye_hover.png) 0 0 0 0;}"
        "QPushButton#VisibleTickButton:checked{border-image:url(:/MetronomeEye_checked.png) 0 0 0 0;}"
        "QPushButton#VisibleTickButton:checked:hover{border-image:url(:/MetronomeEye_checked_hover.png) 0 0 0 0;}"
        "QPushButton#AudiableTickButton{border-image:url(:/MetronomeSound.png) 0 0 0 0;}"
        "QPushButton#AudiableTickButton:hover{border-image:url(:/MetronomeSound_hover.png) 0 0 0 0;}"
        "QPushButton#AudiableTickButton:checked{border-image:url(:/MetronomeSound_checked.png) 0 0 0 0;}"
        "QPushButton#AudiableTickButton:checked:hover{border-image:url(:/MetronomeSound_checked_hover.png) 0 0 0 0;}"
        "QPushButton#BeatButton{border-image:url(:/MetronomeAccent.png) 0 0 0 0;}"
        "QPushButton#BeatCombo{border-image:url(:/MetronomeCombo.png) 0 0 0 0; color: rgb(251,247,238); font-family: \"DejaVu Sans\"; font-size: 18px; font-weight: bold; padding-right: 20px;}"
        "QPushButton#BeatCombo:hover, QPushButton#BeatCombo:pressed, QPushButton#BeatCombo:open{border-image:url(:/MetronomeCombo_hover.png) 0 0 0 0; color: white;}"
        "QPushButton#BeatCombo::menu-indicator{image: none; width: 0px;}"
        "QFrame#MetronomeControls QTreeWidget{background: transparent; border: none; outline: 0; color: rgb(238,232,220); font-family: \"DejaVu Sans\"; font-size: 14px; show-decoration-selected: 1;}"
        "QFrame#MetronomeControls QTreeWidget::item{height: 24px; border: none; padding: 0px 8px;}"
        "QFrame#MetronomeControls QTreeWidget::item:hover{background: rgba(255,255,255,22);}"
        "QFrame#MetronomeControls QTreeWidget::item:selected{color: white; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(79,168,184), stop:1 rgb(21,85,98));}");
}

} // namespace RIRurud
