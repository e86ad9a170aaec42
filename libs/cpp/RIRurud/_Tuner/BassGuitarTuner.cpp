#include "RIRurud/_Tuner/BassGuitarTuner.h"

#include "RIRurud/_Tuner/ModesPanel.h"
#include "RIRurud/_Tuner/TuneButton.h"

#include <QMenu>
#include <QPushButton>

namespace RIRurud {

BassGuitarTuner::BassGuitarTuner(QWidget* parent)
    : TunerBasePage(parent)
{
    build(TunerTables::kTuners[TunerTables::BassGuitar]);
    button(0)->hide();

    QPushButton* modes = modesPanel()->modesButton();
    modes->show();
    auto* menu = new QMenu(modes);
    menu->addAction(tr("5 Strings"), this, SLOT(slot5Strings()));
    menu->addAction(tr("4 Strings"), this, SLOT(slot4Strings()));
    modes->setMenu(menu);
}

void BassGuitarTuner::slot5Strings()
{
    button(0)->show();
}

void BassGuitarTuner::slot4Strings()
{
    button(0)->hide();
}

} // namespace RIRurud
