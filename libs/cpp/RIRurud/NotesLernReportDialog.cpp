#include "RIRurud/NotesLernReportDialog.h"

#include "RIRurud/NotesLernBar.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace RIRurud {

NotesLernReportDialog::NotesLernReportDialog(const QMap<QString, QPair<int, int>>& report, QWidget* parent)
    : QDialog(parent)
{
    setMinimumWidth(300);

    auto* ok = new QPushButton(tr("&Ok"));
    ok->setObjectName(QStringLiteral("PushButton"));
    ok->setFixedHeight(32);
    connect(ok, SIGNAL(clicked()), this, SLOT(accept()));

    auto* layout = new QVBoxLayout(this);
    for (auto it = report.cbegin(); it != report.cend(); ++it) {
        auto* row = new QGridLayout;
        auto* bar = new NotesLernBar;
        bar->setMinimumWidth(175);
        bar->setRightCount(it->first);
        bar->setWrongCount(it->second);
        row->addWidget(new QLabel(it.key()), 0, 0);
        row->addWidget(bar, 0, 1);
        row->addWidget(new QLabel(QStringLiteral("<FONT COLOR='#00FF00'>%1</FONT>").arg(it->first)), 0, 2);
        row->addWidget(new QLabel(QStringLiteral("<FONT COLOR='#FF0000'>%1</FONT>").arg(it->second)), 0, 3);
        layout->addLayout(row);
    }
    if (report.isEmpty())
        layout->addWidget(new QLabel(tr("<CENTER><H2>No report data is available</H2></CENTER>")));
    layout->addWidget(ok);
}

} // namespace RIRurud
