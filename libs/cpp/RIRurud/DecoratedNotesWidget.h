#pragma once

#include <QFrame>
#include <QString>

namespace RIRurud {

class NotesWidget;
class NotesTrainerWidget;

// The upper half of an instrument page: the staff and, in its place in training mode, the notes
// trainer. It stands for both toward the page: it forwards the staff's settings, relays the staff's
// noteChanged() and the trainer's needNextNote() and trainingStarted(), and hands every note shown
// to the staff and then to the trainer. Its paper comes from the style sheet by object name.
class DecoratedNotesWidget : public QFrame
{
    Q_OBJECT
public:
    explicit DecoratedNotesWidget(QWidget* parent = nullptr);

    void setPaperHeightFactor(const float& factor);
    void setStartLine(const int& line);
    void setLines(const int& lines);
    void setTranslateLines(const int& lines);
    void setNoBass(bool noBass);
    void setNoViolin(bool noViolin);
    void setInstrumentName(const QString& name);

    NotesWidget* notesWidget() const { return m_staff; }
    NotesTrainerWidget* trainerWidget() const { return m_trainer; }
    bool isTrainingStarted() const;

signals:
    void noteChanged(const QString& note, int accidental);
    void needNextNote();
    void trainingStarted(bool started);

public slots:
    void slotShowNote(const QString& note, int accidental);
    void slotSetTraningMode();
    void slotSetFindNoteMode();

private:
    NotesWidget* m_staff = nullptr;
    NotesTrainerWidget* m_trainer = nullptr;
};

} // namespace RIRurud
