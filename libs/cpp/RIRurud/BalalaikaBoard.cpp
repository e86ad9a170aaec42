#include "RIRurud/BalalaikaBoard.h"

namespace RIRurud {

BalalaikaBoard::BalalaikaBoard(QWidget* parent)
    : BoardBase(QString::fromLatin1(BoardTables::kBalalaika.name), parent)
{
    initNotes();
    createLayers();
}

void BalalaikaBoard::initNotes()
{
    fillNotes(BoardTables::kBalalaika);
}

QString BalalaikaBoard::positionToNote(int x, int y) const
{
    return noteInTable(BoardTables::kBalalaika, x, y);
}

} // namespace RIRurud
