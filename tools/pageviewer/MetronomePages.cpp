// The metronome page: the page bar above the metronome, with the metronome's style sheet added to
// the application's.
//
//   metronome [--bpm N] [--beats N] [--visual-off] [--audible-off]
//
// --bpm N        the tempo, as if set with the controls (brought into 38 to 208)
// --beats N      beats per bar, as if chosen in the beats menu (0, 2 ... 12)
// --visual-off   turn the visual tick off (closed eyes, no beat row)
// --audible-off  turn the audible tick off (mute faces, no sound)

#include "PageViewer.h"

#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/MetronomeMainPage.h"
#include "RIRurud/MetronomeStyle.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>

using namespace RIRurud;

PAGEVIEWER_PAGE(metronome, "metronome [--bpm N] [--beats N] [--visual-off] [--audible-off]")
{
    pageviewer::applyAppStyle(args);
    qApp->setStyleSheet(qApp->styleSheet() + metronomeStyleSheet());
    auto* page = new MetronomeMainPage;
    MetronomeControls* controls = page->metronome()->controls();

    const QString bpm = pageviewer::optionValue(args, QStringLiteral("--bpm"));
    if (!bpm.isEmpty()) {
        // The controls never leave 38..208, and the timer's period needs a positive tempo.
        const int tempo = qBound(MetronomeControls::kMinTempo, bpm.toInt(), MetronomeControls::kMaxTempo);
        controls->setSelectListItem(tempo);
        controls->setInterval(tempo);
    }
    const QString beats = pageviewer::optionValue(args, QStringLiteral("--beats"));
    if (!beats.isEmpty()) {
        bool ok = false;
        if (QAction* action = controls->beatsAction(beats.toInt(&ok)); ok && action)
            action->trigger();
    }
    if (args.contains(QLatin1String("--visual-off")))
        controls->visibleTickButton()->setChecked(true);
    if (args.contains(QLatin1String("--audible-off")))
        controls->audibleTickButton()->setChecked(true);
    return page;
}
