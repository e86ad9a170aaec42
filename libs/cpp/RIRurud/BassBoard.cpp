#include "RIRurud/BassBoard.h"

namespace RIRurud {

BassBoard::BassBoard(QWidget* parent)
    : BoardBase(QString::fromLatin1(BoardTables::kBass.name), parent)
{
    initNotes();
    createLayers();
}

void BassBoard::initNotes()
{
    fillNotes(BoardTables::kBass);
}

QString BassBoard::positionToNote(int x, int y) const
{
    return noteInTable(BoardTables::kBass, x, y);
}

} // namespace RIRurud
