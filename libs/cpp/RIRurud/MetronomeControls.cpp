#include "RIRurud/MetronomeControls.h"

#include "REZirudid/App.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace RIRurud {

namespace {

constexpr int kRowHeight = 24;
constexpr int kButtonSize = 44;

QPushButton* flatButton(const QString& objectName, QSize size)
{
    auto* button = new QPushButton;
    button->setObjectName(objectName);
    button->setFlat(true);
    button->setFixedSize(size);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QHBoxLayout* tightRow()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    return row;
}

} // namespace

int MetronomeControls::rowOfTempo(int bpm)
{
    for (int i = 0; i < int(std::size(kTempoRows)); ++i) {
        if (bpm >= kTempoRows[i].lower && bpm <= kTempoRows[i].upper)
            return i;
    }
    return -1;
}

MetronomeControls::MetronomeControls(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("MetronomeControls"));

    m_visibleTickButton = flatButton(QStringLiteral("VisibleTickButton"), QSize(kButtonSize, kButtonSize));
    m_visibleTickButton->setCheckable(true);
    m_visibleTickButton->setToolTip(tr("Visible Tick"));
    m_audibleTickButton = flatButton(QStringLiteral("AudiableTickButton"), QSize(kButtonSize, kButtonSize));
    m_audibleTickButton->setCheckable(true);
    m_audibleTickButton->setToolTip(tr("Audiable Tick"));

    m_tempoList = new QTreeWidget;
    m_beatsCombo = flatButton(QStringLiteral("BeatCombo"), QSize(64, kButtonSize));
    m_beatsCombo->setText(QStringLiteral("4"));
    m_beatButton = flatButton(QStringLiteral("BeatButton"), QSize(kButtonSize, kButtonSize));
    m_tempoLabel = new QLabel(QStringLiteral("38"));
    m_tempoLabel->setObjectName(QStringLiteral("TempoLabel"));
    m_tempoLabel->setAlignment(Qt::AlignCenter);
    m_tempoLabel->setMinimumWidth(120);
    m_tempoIncButton = flatButton(QStringLiteral("TempoIncButton"), QSize(kButtonSize, kButtonSize));
    m_tempoDecButton = flatButton(QStringLiteral("TempoDecButton"), QSize(kButtonSize, kButtonSize));

    connect(m_tempoIncButton, &QPushButton::clicked, this, &MetronomeControls::slotTempoInc);
    connect(m_tempoDecButton, &QPushButton::clicked, this, &MetronomeControls::slotTempoDec);

    // The count travels in each action's data: a desktop may put "&" into menu texts.
    m_beatsMenu = new QMenu(m_beatsCombo);
    m_beatsMenu->setObjectName(QStringLiteral("BeatMenu"));
    for (int count : kBeatCounts) {
        QAction* action = m_beatsMenu->addAction(QString::number(count));
        action->setData(count);
        connect(action, &QAction::triggered, this, &MetronomeControls::slotBeatsCountChanged);
    }
    m_beatsCombo->setMenu(m_beatsMenu);

    connect(m_visibleTickButton, &QPushButton::toggled, this, &MetronomeControls::visibleTickChanged);
    connect(m_audibleTickButton, &QPushButton::toggled, this, &MetronomeControls::audibleTickChanged);

    m_tempoList->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_tempoList->setFocusPolicy(Qt::NoFocus);
    m_tempoList->setColumnCount(2);
    m_tempoList->setHeaderLabels({tr("Name"), tr("Range")});
    m_tempoList->header()->hide();
    const bool pocket = REZirudid::App::theApp() && REZirudid::App::theApp()->isPocketDevice();
    m_tempoList->setColumnWidth(0, pocket ? 65 : 115);
    m_tempoList->setColumnWidth(1, 30);
    m_tempoList->setSortingEnabled(false);
    m_tempoList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tempoList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tempoList->setRootIsDecorated(false);
    m_tempoList->setFixedSize(pocket ? 150 : 220, int(std::size(kTempoRows)) * kRowHeight + 2 * m_tempoList->frameWidth());
    connect(m_tempoList, &QTreeWidget::currentItemChanged, this, &MetronomeControls::slotCurrentItemChanged);
    for (const TempoRow& row : kTempoRows) {
        auto* item = new QTreeWidgetItem(QStringList{tr(row.name), QString::fromLatin1(row.range)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setSizeHint(0, QSize(0, kRowHeight));
        m_tempoList->addTopLevelItem(item);
        m_rows.append(item);
    }
    m_tempoList->setCurrentItem(m_rows.first());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    QHBoxLayout* tempoRow = tightRow();
    tempoRow->addStretch(1);
    tempoRow->addWidget(m_tempoDecButton);
    tempoRow->addWidget(m_tempoLabel);
    tempoRow->addWidget(m_tempoIncButton);
    tempoRow->addStretch(1);
    QHBoxLayout* listRow = tightRow();
    listRow->addStretch(1);
    listRow->addWidget(m_tempoList);
    listRow->addStretch(1);
    QHBoxLayout* switchRow = tightRow();
    switchRow->addSpacing(5);
    switchRow->addWidget(m_visibleTickButton);
    switchRow->addSpacing(5);
    switchRow->addWidget(m_audibleTickButton);
    switchRow->addSpacing(5);
    switchRow->addWidget(m_beatButton);
    switchRow->addWidget(m_beatsCombo);
    layout->addLayout(tempoRow);
    layout->addLayout(listRow);
    layout->addLayout(switchRow);
}

int MetronomeControls::interval() const
{
    bool ok = false;
    const int bpm = m_tempoLabel->text().toInt(&ok);
    return ok ? bpm : 1000;
}

void MetronomeControls::setInterval(int bpm)
{
    m_tempoLabel->setText(QString::number(bpm));
    emit intervalChanged(bpm);
}

void MetronomeControls::setSelectListItem(int bpm)
{
    const int row = rowOfTempo(bpm);
    if (row >= 0 && m_tempoList->currentItem() != m_rows.at(row))
        m_tempoList->setCurrentItem(m_rows.at(row));
}

void MetronomeControls::slotTempoInc()
{
    stepTempo(1);
}

void MetronomeControls::slotTempoDec()
{
    stepTempo(-1);
}

void MetronomeControls::stepTempo(int step)
{
    bool ok = false;
    const int bpm = m_tempoLabel->text().toInt(&ok);
    if (!ok)
        return;
    const int v = qBound(kMinTempo, bpm + step, kMaxTempo);
    setInterval(v);
    // The row follows the tempo: choosing it would set the tempo to the row's lower bound.
    const QSignalBlocker quiet(m_tempoList);
    setSelectListItem(v);
    m_tempoList->viewport()->update();
}

void MetronomeControls::slotCurrentItemChanged()
{
    const int row = m_rows.indexOf(m_tempoList->currentItem());
    if (row >= 0)
        setInterval(kTempoRows[row].lower);
}

void MetronomeControls::slotBeatsCountChanged()
{
    const auto* action = qobject_cast<const QAction*>(sender());
    if (!action)
        return;
    bool ok = false;
    const int count = action->data().toInt(&ok);
    if (!ok)
        return;
    m_beatsCombo->setText(QString::number(count));
    m_beatsPerBar = count;
    emit beatsCountChanged(count);
}

QAction* MetronomeControls::beatsAction(int count) const
{
    for (QAction* action : m_beatsMenu->actions()) {
        if (action->data().toInt() == count)
            return action;
    }
    return nullptr;
}

} // namespace RIRurud
