#include "RIRurud/MetronomeBeats.h"

#include <QHBoxLayout>
#include <QLabel>

namespace RIRurud {

MetronomeBeats::MetronomeBeats(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("MetronomeBeats"));
    setFixedHeight(60);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(7);
    for (int i = 0; i < kMarks; ++i) {
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("Beat"));
        label->setFixedSize(50, 50);
        label->setAlignment(Qt::AlignCenter);
        label->setEnabled(false);
        layout->addWidget(label);
        m_beatLabels.append(label);
    }
    layout->addStretch(1);
}

void MetronomeBeats::slotSetBeats(int n)
{
    if (n > m_beatLabels.size())
        return;
    m_beatsShown = n;
    for (int i = 0; i < m_beatLabels.size(); ++i)
        m_beatLabels.at(i)->setVisible(i < n);
}

void MetronomeBeats::setCurrentBeat(int index)
{
    if (index < 0 || index >= m_beatLabels.size())
        return;
    for (int i = 0; i < m_beatLabels.size(); ++i)
        m_beatLabels.at(i)->setEnabled(i == index);
}

} // namespace RIRurud
