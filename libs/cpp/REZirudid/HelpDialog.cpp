#include "REZirudid/HelpDialog.h"

#include "REZirudid/Common.h"
#include "REZirudid/App.h"
#include "REZirudid/Label.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace REZirudid {

HelpDialog::HelpDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(tr("%1 Introduction").arg(QCoreApplication::applicationName()));

    m_picture = new Label;
    m_picture->setMode(Label::Fit);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(640, 400);
    m_picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    m_timer = new QTimer(this);
    m_timer->setInterval(kSlideInterval);
    connect(m_timer, &QTimer::timeout, this, &HelpDialog::slotNext);

    QPushButton* previous = new QPushButton(QStringLiteral("\u2039"));
    previous->setObjectName(QStringLiteral("HelpSlideButton"));
    previous->setToolTip(tr("Previous"));
    previous->setFixedSize(26, 18);
    connect(previous, &QPushButton::clicked, this, &HelpDialog::slotPrevious);
    QPushButton* next = new QPushButton(QStringLiteral("\u203A"));
    next->setObjectName(QStringLiteral("HelpSlideButton"));
    next->setToolTip(tr("Next"));
    next->setFixedSize(26, 18);
    connect(next, &QPushButton::clicked, this, [this] {
        showSlideAndRestart(m_paths.isEmpty() ? 0 : (m_current + 1) % m_paths.size());
    });

    m_steps = new QButtonGroup(this);
    m_steps->setExclusive(true);
    connect(m_steps, &QButtonGroup::idClicked, this, &HelpDialog::showSlideAndRestart);

    m_stepRow = new QHBoxLayout;
    m_stepRow->setSpacing(6);
    QHBoxLayout* nav = new QHBoxLayout;
    nav->setSpacing(6);
    nav->addStretch(1);
    nav->addWidget(previous);
    nav->addLayout(m_stepRow);
    nav->addWidget(next);
    nav->addStretch(1);

    m_onStart = new QCheckBox(tr("Show on start"));
    m_onStart->setChecked(App::theApp() ? App::theApp()->isHelpOnStart() : true);
    connect(m_onStart, &QCheckBox::toggled, this, [](bool on) {
        if (App* app = App::theApp())
            app->setHelpOnStart(on);
    });
    QPushButton* close = new QPushButton(tr("&Close"));
    close->setObjectName(QStringLiteral("PushButton"));
    Common::fitPushButton(close);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    QHBoxLayout* bottom = new QHBoxLayout;
    bottom->addWidget(m_onStart);
    bottom->addStretch(1);
    bottom->addWidget(close);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(10);
    layout->addWidget(m_picture, 1);
    layout->addLayout(nav);
    layout->addLayout(bottom);
}

void HelpDialog::setSlides(const QStringList& paths)
{
    if (paths == m_paths && !m_steps->buttons().isEmpty())
        return;
    m_paths = paths;
    for (QAbstractButton* button : m_steps->buttons()) {
        m_steps->removeButton(button);
        delete button;
    }
    for (int i = 0; i < m_paths.size(); ++i) {
        QPushButton* step = new QPushButton(QString::number(i + 1));
        step->setObjectName(QStringLiteral("HelpSlideButton"));
        step->setCheckable(true);
        step->setFixedSize(18, 18);
        step->setToolTip(tr("Slide %1").arg(i + 1));
        m_steps->addButton(step, i);
        m_stepRow->addWidget(step);
    }
    slotShowSlide(0);
}

bool HelpDialog::isPlaying() const
{
    return m_timer->isActive();
}

void HelpDialog::start()
{
    showSlideAndRestart(0);
}

void HelpDialog::slotShowSlide(int index)
{
    if (m_paths.isEmpty()) {
        m_current = 0;
        m_picture->setRetinaPixmap(QPixmap());
        return;
    }
    m_current = qBound(0, index, int(m_paths.size()) - 1);
    // A missing slide file shows a short note instead of a picture.
    const QPixmap slide(m_paths.at(m_current));
    m_picture->setRetinaPixmap(slide);
    m_picture->setText(slide.isNull() ? tr("Slide %1 is not available.").arg(m_current + 1) : QString());
    if (QAbstractButton* step = m_steps->button(m_current))
        step->setChecked(true);
}

void HelpDialog::slotNext()
{
    if (m_paths.isEmpty())
        return;
    slotShowSlide((m_current + 1) % m_paths.size());
}

void HelpDialog::slotPrevious()
{
    if (m_paths.isEmpty())
        return;
    showSlideAndRestart((m_current + m_paths.size() - 1) % m_paths.size());
}

void HelpDialog::showSlideAndRestart(int index)
{
    slotShowSlide(index);
    m_timer->start();
}

void HelpDialog::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}

} // namespace REZirudid
