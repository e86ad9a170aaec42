#include "RIRurud/FinderWidget.h"

#include "REZirudid/Label.h"
#include "REZirudid/MessageBox.h"
#include "RIRurud/BoardBase.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/SidePictureLabel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace RIRurud {

FinderWidget::FinderWidget(const FinderTables::FinderSpec& spec, BoardBase* board, QWidget* parent)
    : FinderWidget(spec, board, [board] { board->setTrainButtonChecked(); }, parent)
{
}

FinderWidget::FinderWidget(const FinderTables::FinderSpec& spec, QWidget* board,
                           std::function<void()> recheckTraining, QWidget* parent)
    : QFrame(parent)
    , m_staff(new DecoratedNotesWidget)
    , m_board(board)
    , m_recheckTraining(std::move(recheckTraining))
{
    build(spec);
}

namespace {

// The picture is decoded once the label is on screen, at the size it is drawn (SidePictureLabel):
// decoding both pages' pictures at full size here cost start-up time and memory.
REZirudid::Label* sidePicture(const char* resource, const char* objectName)
{
    auto* label = new SidePictureLabel(QString::fromLatin1(resource));
    label->setObjectName(QString::fromLatin1(objectName));
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return label;
}

} // namespace

void FinderWidget::build(const FinderTables::FinderSpec& spec)
{
    using FinderTables::Staves;

    if (spec.hasModes) {
        connect(m_board, SIGNAL(traningSelected()), this, SLOT(slotSetTraningMode()));
        connect(m_board, SIGNAL(findNoteSelected()), this, SLOT(slotSetFindNoteMode()));
        connect(m_staff, SIGNAL(needNextNote()), m_board, SLOT(slotNextNote()));
        connect(m_staff, SIGNAL(trainingStarted(bool)), m_board, SLOT(slotSetInTraining(bool)));
    }

    if (spec.configuresStaff) {
        m_staff->setStartLine(spec.startLine);
        m_staff->setLines(spec.lines);
        m_staff->setTranslateLines(spec.translateLines);
        m_staff->setPaperHeightFactor(spec.paperHeightFactor);
    }
    if (spec.staves == Staves::TrebleOnly)
        m_staff->setNoBass(true);
    else if (spec.staves == Staves::BassOnly)
        m_staff->setNoViolin(true);
    m_staff->setInstrumentName(QString::fromLatin1(spec.instrumentName));
    if (spec.staffObjectName)
        m_staff->setObjectName(QString::fromLatin1(spec.staffObjectName));

    REZirudid::Label* right = sidePicture(spec.rightPicture, spec.rightObjectName);
    REZirudid::Label* left = sidePicture(spec.leftPicture, spec.leftObjectName);

    connect(m_staff, SIGNAL(noteChanged(QString, int)), m_board, SLOT(slotSetNote(QString, int)));
    connect(m_board, SIGNAL(noteChanged(QString, int)), m_staff, SLOT(slotShowNote(QString, int)));

    auto* row = new QHBoxLayout;
    row->addWidget(left);
    row->addWidget(m_staff);
    row->addWidget(right);

    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row);
    column->addWidget(m_board);
    setLayout(column);

    if (spec.hasModes)
        slotSetFindNoteMode();
}

void FinderWidget::slotSetTraningMode()
{
    m_staff->slotSetTraningMode();
}

void FinderWidget::slotSetFindNoteMode()
{
    if (m_staff->isTrainingStarted()) {
        // The press on Find Note has just checked it in the board's exclusive pair: undo that.
        if (m_recheckTraining)
            m_recheckTraining();
        // The texts belong to the concrete finder class (BanjoTonarix, ...).
        const char* context = metaObject()->className();
        REZirudid::MessageBox::information(
            this, QCoreApplication::translate(context, "Info"),
            QCoreApplication::translate(context, "Please, stop the training to be able to do other actions."),
            REZirudid::MessageBox::Ok, 0);
        return;
    }
    m_staff->slotSetFindNoteMode();
}

} // namespace RIRurud
