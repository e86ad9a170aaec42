#include "RIRurud/NotesTrainerWidget.h"

#include "RIRurud/NotesLernStatistic.h"
#include "RIRurud/TrainerKeys.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPair>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace RIRurud {

namespace {

qint64 monotonicMsecs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

// A row that centres one widget: stretch, a small column holding it, stretch.
QHBoxLayout* centredRow(QWidget* widget)
{
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(2, 2, 2, 2);
    inner->setSpacing(2);
    inner->addWidget(widget);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch();
    row->addLayout(inner);
    row->addStretch();
    return row;
}

} // namespace

NotesTrainerWidget::NotesTrainerWidget(QWidget* parent)
    : QFrame(parent)
    , m_clock(&monotonicMsecs)
{
    m_statistic = new NotesLernStatistic;

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(500);
    connect(m_clockTimer, SIGNAL(timeout()), this, SLOT(slotTimeOut()));

    for (int i = 0; i < TrainerKeys::kKeyCount; ++i)
        m_keys[i] = new QPushButton(QString::fromUtf8(TrainerKeys::kKeys[i].caption));
    disableKeys(true);

    m_clockLabel = new QLabel;
    // Rich text, but held as plain text until the trainer is first shown: laying rich text out
    // loads fonts, and the trainer sits hidden until a training is chosen (see showEvent).
    m_clockLabel->setTextFormat(Qt::PlainText);
    showClock(QStringLiteral("00:00:00"));

    m_startButton = new QPushButton(QStringLiteral("Start"));
    m_startButton->setFlat(true);
    m_startButton->setFixedSize(64, 64);
    m_startButton->setObjectName(QStringLiteral("RoundButton"));
    m_startButton->setCheckable(true);
    connect(m_startButton, SIGNAL(clicked(bool)), this, SLOT(slotStartClicked(bool)));

    for (bool black : {false, true}) {
        for (int i = 0; i < TrainerKeys::kKeyCount; ++i) {
            if (TrainerKeys::kKeys[i].black == black)
                applyNoteButtonDetails(m_keys[i]);
        }
    }
    for (int i = 0; i < TrainerKeys::kKeyCount; ++i)
        m_keys[i]->setObjectName(TrainerKeys::kKeys[i].black ? QStringLiteral("Keyd") : QStringLiteral("Key"));

    static const char* const keySlots[TrainerKeys::kKeyCount] = {
        SLOT(slotCClicked()), SLOT(slotCDClicked()), SLOT(slotDClicked()), SLOT(slotDDClicked()),
        SLOT(slotEClicked()), SLOT(slotFClicked()), SLOT(slotFDClicked()), SLOT(slotGClicked()),
        SLOT(slotGDClicked()), SLOT(slotAClicked()), SLOT(slotADClicked()), SLOT(slotBClicked())};
    for (int i = 0; i < TrainerKeys::kKeyCount; ++i)
        connect(m_keys[i], SIGNAL(pressed()), this, keySlots[i]);

    auto* blackRow = new QHBoxLayout;
    blackRow->setContentsMargins(2, 2, 2, 2);
    blackRow->setSpacing(2);
    blackRow->addStretch();
    blackRow->addWidget(m_keys[1]);
    blackRow->addWidget(m_keys[3]);
    blackRow->addSpacing(42);
    blackRow->addWidget(m_keys[6]);
    blackRow->addWidget(m_keys[8]);
    blackRow->addWidget(m_keys[10]);
    blackRow->addStretch();

    auto* whiteRow = new QHBoxLayout;
    whiteRow->setContentsMargins(2, 2, 2, 2);
    whiteRow->setSpacing(2);
    whiteRow->addStretch();
    for (int i : {0, 2, 4, 5, 7, 9, 11})
        whiteRow->addWidget(m_keys[i]);
    whiteRow->addStretch();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(5);
    column->addWidget(m_statistic);
    column->addStretch(1);
    column->addLayout(centredRow(m_startButton));
    column->addLayout(centredRow(m_clockLabel));
    column->addStretch(1);
    column->addLayout(blackRow);
    column->addLayout(whiteRow);
}

void NotesTrainerWidget::setNote(const QString& note, int accidental)
{
    m_note = note;
    m_accidental = accidental;
    qDebug() << "StrNote:" << note << "; " << accidental;
}

bool NotesTrainerWidget::isTrainingStarted() const
{
    return m_startButton->isChecked();
}

void NotesTrainerWidget::disableKeys(bool disabled)
{
    for (QPushButton* key : m_keys)
        key->setDisabled(disabled);
}

void NotesTrainerWidget::applyNoteButtonDetails(QPushButton* button)
{
    button->setObjectName(QStringLiteral("PushButton"));
    button->setFlat(true);
    button->setFixedSize(44, 44);
}

QPushButton* NotesTrainerWidget::key(int i) const
{
    return (i >= 0 && i < TrainerKeys::kKeyCount) ? m_keys[i] : nullptr;
}

void NotesTrainerWidget::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&monotonicMsecs);
}

void NotesTrainerWidget::slotStartClicked(bool checked)
{
    m_startButton->setText(checked ? tr("Stop") : tr("Start"));
    if (checked) {
        emit needNextNote();
        m_statistic->reset();
        m_startTime = m_clock();
        m_clockTimer->start();
        disableKeys(false);
    } else {
        m_clockTimer->stop();
        disableKeys(true);
    }
    emit trainingStarted(checked);
}

void NotesTrainerWidget::slotTimeOut()
{
    if (m_startTime < 0)
        return;
    showClock(TrainerKeys::formatElapsed(m_clock() - m_startTime));
}

void NotesTrainerWidget::showEvent(QShowEvent* event)
{
    if (m_clockLabel->textFormat() != Qt::RichText) {
        m_clockLabel->setTextFormat(Qt::RichText);
        // Place the clock at its rich-text size before anything is painted.
        layout()->activate();
    }
    QFrame::showEvent(event);
}

void NotesTrainerWidget::showClock(const QString& time)
{
    m_clockLabel->setText(QStringLiteral("<FONT COLOR='black'><H2>") + time + QStringLiteral("</H2></FONT>"));
}

void NotesTrainerWidget::answer(int key)
{
    if (!m_startButton->isChecked())
        return;
    const bool right = TrainerKeys::isRightAnswer(key, m_note, m_accidental);
    if (right)
        m_statistic->incRight();
    else
        m_statistic->incWrong();
    emit needNextNote();
    m_statistic->addToReport(QString::fromLatin1(TrainerKeys::kKeys[key].reportKey),
                             right ? qMakePair(1, 0) : qMakePair(0, 1));
}

void NotesTrainerWidget::slotCClicked() { answer(0); }
void NotesTrainerWidget::slotCDClicked() { answer(1); }
void NotesTrainerWidget::slotDClicked() { answer(2); }
void NotesTrainerWidget::slotDDClicked() { answer(3); }
void NotesTrainerWidget::slotEClicked() { answer(4); }
void NotesTrainerWidget::slotFClicked() { answer(5); }
void NotesTrainerWidget::slotFDClicked() { answer(6); }
void NotesTrainerWidget::slotGClicked() { answer(7); }
void NotesTrainerWidget::slotGDClicked() { answer(8); }
void NotesTrainerWidget::slotAClicked() { answer(9); }
void NotesTrainerWidget::slotADClicked() { answer(10); }
void NotesTrainerWidget::slotBClicked() { answer(11); }

} // namespace RIRurud
