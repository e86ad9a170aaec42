#pragma once

class QFrame;
class QPushButton;

namespace RIRurud {

// The two mode buttons of a fretted board: "Find Note" and "Training" side by side, centred at the
// top of the board over its picture, in an exclusive group with Find Note checked. A click on
// Training emits the board's traningSelected(), a click on Find Note its findNoteSelected(); the
// buttons never switch training themselves. install() lays them out as the board's layout (margin
// 5) and translates their texts in the board class's context.
struct BoardModeButtons
{
    QPushButton* findNote = nullptr;
    QPushButton* training = nullptr;

    static BoardModeButtons install(QFrame* board, const char* translationContext);
};

} // namespace RIRurud
