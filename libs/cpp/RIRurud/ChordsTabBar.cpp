#include "RIRurud/ChordsTabBar.h"

#include <QMouseEvent>

namespace RIRurud {

ChordsTabBar::ChordsTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setObjectName(QStringLiteral("ChordsTabBar"));
}

void ChordsTabBar::mouseReleaseEvent(QMouseEvent* event)
{
    // The press handling selects the tab under the pointer; dragging a tab ends with it as well.
    QTabBar::mousePressEvent(event);
    QTabBar::mouseReleaseEvent(event);
    emit tabClicked();
}

void ChordsTabBar::tabInserted(int index)
{
    QTabBar::tabInserted(index);
    emit countChanged(count());
}

void ChordsTabBar::tabRemoved(int index)
{
    QTabBar::tabRemoved(index);
    emit countChanged(count());
}

} // namespace RIRurud
