#pragma once

#include "RIRurud/FinderTables.h"

#include <QFrame>

#include <functional>

namespace RIRurud {

class BoardBase;
class DecoratedNotesWidget;

// The working area of an instrument page, built from one row of FinderTables: the decorated staff
// between two side pictures, the instrument's board below, wired both ways. Staff hover lights the
// note on the board; a board click shows its note on the staff and gives it to the trainer; the
// trainer asks the board for notes and puts it into training; the board's mode buttons switch
// between staff and trainer, refusing to leave training while a training runs.
class FinderWidget : public QFrame
{
    Q_OBJECT
public:
    DecoratedNotesWidget* decoratedNotesWidget() const { return m_staff; }
    QWidget* boardWidget() const { return m_board; }

public slots:
    void slotSetFindNoteMode();
    void slotSetTraningMode();

protected:
    // A board derived from BoardBase.
    FinderWidget(const FinderTables::FinderSpec& spec, BoardBase* board, QWidget* parent);
    // Any board with the board signals and slots (noteChanged, traningSelected, findNoteSelected,
    // slotSetNote, slotNextNote, slotSetInTraining); recheckTraining checks its Training button.
    FinderWidget(const FinderTables::FinderSpec& spec, QWidget* board,
                 std::function<void()> recheckTraining, QWidget* parent);

private:
    void build(const FinderTables::FinderSpec& spec);

    DecoratedNotesWidget* m_staff = nullptr;
    QWidget* m_board = nullptr;
    std::function<void()> m_recheckTraining;
};

} // namespace RIRurud
