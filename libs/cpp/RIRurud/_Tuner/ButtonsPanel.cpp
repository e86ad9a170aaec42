#include "RIRurud/_Tuner/ButtonsPanel.h"

#include "RIRurud/_Tuner/TuneButton.h"
#include "RIRurud/_Tuner/TunerSettings.h"

#include "REZirudid/App.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>

namespace RIRurud {

ButtonsPanel::ButtonsPanel(QWidget* parent)
    : QFrame(parent)
{
    m_timer = new QTimer(this);
    m_timer->setInterval(kRepeatIntervalMs);
    connect(m_timer, SIGNAL(timeout()), this, SLOT(slotTimeOut()));

    setObjectName(QStringLiteral("TuneButtonsPanel"));

    auto* layout = new QHBoxLayout;
    layout->addStretch(1);
    for (int key = 0; key < kButtonCount; ++key) {
        auto* button = new TuneButton;
        button->setObjectName(QStringLiteral("TuneButton"));
        button->setFlat(true);
        button->hide();
        button->setFixedSize(46, 46);
        m_buttons.insert(key, button);
        connect(button, SIGNAL(clicked(bool)), this, SLOT(slotClicked(bool)));
        layout->addWidget(button, 0);
    }
    layout->addStretch(1);
    setLayout(layout);

    const REZirudid::App* app = REZirudid::App::theApp();
    const bool repeat = app && app->settingsValue(TunerSettings::repeat(), false).toBool();
    qDebug() << "!!!RepeatMode:" << repeat;
    slotSetRepeatMode(repeat);
}

void ButtonsPanel::slotSetRepeatMode(bool on)
{
    m_repeatMode = on;
    for (TuneButton* button : qAsConst(m_buttons)) {
        button->setCheckable(on);   // a change of checkability clears the check; no change keeps it
        button->repaint();
    }
    if (on)
        m_timer->start();
    else
        m_timer->stop();
}

void ButtonsPanel::slotClicked(bool checked)
{
    if (!m_repeatMode)
        return;
    for (TuneButton* button : qAsConst(m_buttons))
        button->setChecked(false);
    if (auto* button = qobject_cast<TuneButton*>(sender()))
        button->setChecked(checked);
}

void ButtonsPanel::slotTimeOut()
{
    for (TuneButton* button : qAsConst(m_buttons)) {
        if (button->isChecked()) {
            emit button->play();
            return;
        }
    }
}

// The buttons are square, a 6.5th of the panel's width, as long as the page's strings fit side by
// side with the layout's margins and spacing; on a narrower panel they shrink to fit. Were they
// larger than the room, the panel's minimum width would exceed its width and the window would
// grow at every resize.
void ButtonsPanel::resizeEvent(QResizeEvent* event)
{
    const int width = event->size().width();
    int side = int(float(width) / 6.5f);

    int strings = 0;
    for (TuneButton* button : qAsConst(m_buttons)) {
        if (!button->text().isEmpty() || button->isVisibleTo(this))
            ++strings;
    }
    if (strings > 0) {
        const QMargins margins = layout()->contentsMargins();
        int spacing = static_cast<QBoxLayout*>(layout())->spacing();
        if (spacing < 0)
            spacing = style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, Qt::Horizontal, nullptr, this);
        const int room = (width - margins.left() - margins.right() - qMax(0, spacing) * (strings - 1)) / strings;
        side = qMax(1, qMin(side, room));
    }
    for (TuneButton* button : qAsConst(m_buttons))
        button->setFixedSize(side, side);
    QFrame::resizeEvent(event);
}

} // namespace RIRurud
