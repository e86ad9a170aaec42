#include "RIRurud/DecoratedNotesWidget.h"

#include "RIRurud/NotesTrainerWidget.h"
#include "RIRurud/NotesWidget.h"

#include <QVBoxLayout>

namespace RIRurud {

DecoratedNotesWidget::DecoratedNotesWidget(QWidget* parent)
    : QFrame(parent)
{
    setMinimumSize(400, 300);
    setObjectName(QStringLiteral("DecoratedNotesWidget"));

    m_trainer = new NotesTrainerWidget;
    connect(m_trainer, SIGNAL(needNextNote()), this, SIGNAL(needNextNote()));
    connect(m_trainer, SIGNAL(trainingStarted(bool)), this, SIGNAL(trainingStarted(bool)));

    m_staff = new NotesWidget;
    connect(m_staff, SIGNAL(noteChanged(QString, int)), this, SIGNAL(noteChanged(QString, int)));

    m_trainer->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(15, 15, 15, 15);
    column->setSpacing(15);
    column->addWidget(m_staff);
    column->addWidget(m_trainer);
}

void DecoratedNotesWidget::setPaperHeightFactor(const float& factor) { m_staff->setPaperHeightFactor(factor); }
void DecoratedNotesWidget::setStartLine(const int& line) { m_staff->setStartLine(line); }
void DecoratedNotesWidget::setLines(const int& lines) { m_staff->setLines(lines); }
void DecoratedNotesWidget::setTranslateLines(const int& lines) { m_staff->setTranslateLines(lines); }
void DecoratedNotesWidget::setNoBass(bool noBass) { m_staff->setNoBass(noBass); }
void DecoratedNotesWidget::setNoViolin(bool noViolin) { m_staff->setNoViolin(noViolin); }
void DecoratedNotesWidget::setInstrumentName(const QString& name) { m_staff->setInstrumentName(name); }

bool DecoratedNotesWidget::isTrainingStarted() const
{
    return m_trainer->isTrainingStarted();
}

void DecoratedNotesWidget::slotShowNote(const QString& note, int accidental)
{
    m_staff->slotShowNote(note, accidental);
    m_trainer->setNote(note, accidental);
}

// The mode is which of the two is hidden. Asking isHidden() rather than isVisible() lets a call
// before the window is first shown see that the wanted child is already the one not hidden and do
// nothing: showing a child of a window not yet shown would polish it and lay its parent out ahead
// of time. Hiding first keeps at most one of the two on screen.
void DecoratedNotesWidget::slotSetTraningMode()
{
    if (!m_trainer->isHidden() && m_staff->isHidden())
        return;
    m_staff->hide();
    m_trainer->show();
}

void DecoratedNotesWidget::slotSetFindNoteMode()
{
    if (!m_staff->isHidden() && m_trainer->isHidden())
        return;
    m_trainer->hide();
    m_staff->show();
}

} // namespace RIRurud
