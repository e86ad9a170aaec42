#include "RIRurud/BoardModeButtons.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace RIRurud {

BoardModeButtons BoardModeButtons::install(QFrame* board, const char* context)
{
    BoardModeButtons buttons;
    buttons.findNote = new QPushButton(QCoreApplication::translate(context, "Find Note"));
    buttons.training = new QPushButton(QCoreApplication::translate(context, "Training"));
    // The application style sheet styles the pair by these names.
    buttons.training->setObjectName(QStringLiteral("DualButtonRight"));
    buttons.findNote->setObjectName(QStringLiteral("DualButtonLeft"));
    for (QPushButton* button : {buttons.findNote, buttons.training}) {
        button->setFlat(true);
        button->setMinimumHeight(32);
        button->setMinimumWidth(96);
        button->setCheckable(true);
    }
    buttons.findNote->setChecked(true);
    QObject::connect(buttons.training, SIGNAL(clicked()), board, SIGNAL(traningSelected()));
    QObject::connect(buttons.findNote, SIGNAL(clicked()), board, SIGNAL(findNoteSelected()));

    auto* group = new QButtonGroup(board);
    group->addButton(buttons.training);
    group->addButton(buttons.findNote);
    group->setExclusive(true);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch(1);
    row->addWidget(buttons.findNote);
    row->addWidget(buttons.training);
    row->addStretch(1);

    auto* column = new QVBoxLayout;
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(0);
    column->addLayout(row);
    column->addStretch(1);
    board->setLayout(column);
    return buttons;
}

} // namespace RIRurud
