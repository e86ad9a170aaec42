#include "RIRurud/NotesLernStatistic.h"

#include "RIRurud/NotesLernBar.h"
#include "RIRurud/NotesLernReportDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace RIRurud {

NotesLernStatistic::NotesLernStatistic(QWidget* parent)
    : QFrame(parent)
{
    m_reportButton = new QPushButton(tr("Full Report"));
    m_reportButton->setObjectName(QStringLiteral("PushButton"));
    m_reportButton->setMinimumHeight(32);
    connect(m_reportButton, SIGNAL(clicked()), this, SLOT(slotShowReport()));

    m_bar = new NotesLernBar;
    m_rightLabel = new QLabel;
    m_wrongLabel = new QLabel;
    // The counts are rich text, but laying rich text out loads fonts, and the statistic sits
    // hidden until a training is chosen: the labels hold their texts as plain text until the
    // statistic is first shown (see showEvent).
    m_rightLabel->setTextFormat(Qt::PlainText);
    m_wrongLabel->setTextFormat(Qt::PlainText);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    row->addWidget(m_rightLabel);
    row->addStretch(1);
    row->addWidget(m_reportButton);
    row->addStretch(1);
    row->addWidget(m_wrongLabel);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(1);
    column->addStretch(1);
    column->addLayout(row);
    column->addWidget(m_bar);

    updateInfo();
}

void NotesLernStatistic::showEvent(QShowEvent* event)
{
    if (m_rightLabel->textFormat() != Qt::RichText) {
        m_rightLabel->setTextFormat(Qt::RichText);
        m_wrongLabel->setTextFormat(Qt::RichText);
        // Place the labels at their rich-text sizes before anything is painted.
        layout()->activate();
    }
    QFrame::showEvent(event);
}

void NotesLernStatistic::incRight()
{
    m_bar->incRight();
    updateInfo();
}

void NotesLernStatistic::incWrong()
{
    m_bar->incWrong();
    updateInfo();
}

void NotesLernStatistic::addToReport(const QString& key, const QPair<int, int>& counts)
{
    auto it = m_report.find(key);
    if (it == m_report.end()) {
        m_report.insert(key, counts);
    } else {
        it->first += counts.first;
        it->second += counts.second;
    }
}

void NotesLernStatistic::reset()
{
    m_bar->reset();
    m_report.clear();
    updateInfo();
}

int NotesLernStatistic::wrongCount() const
{
    return m_bar->wrongCount();
}

int NotesLernStatistic::rightCount() const
{
    return m_bar->rightCount();
}

void NotesLernStatistic::updateInfo()
{
    m_rightLabel->setText(QStringLiteral("<FONT COLOR='green'>Right:%1</FONT>").arg(m_bar->rightCount()));
    m_wrongLabel->setText(QStringLiteral("<FONT COLOR='red'>Wrong:%1</FONT>").arg(m_bar->wrongCount()));
    m_bar->update();
}

void NotesLernStatistic::slotShowReport()
{
    NotesLernReportDialog dialog(m_report, this);
    dialog.exec();
}

} // namespace RIRurud
