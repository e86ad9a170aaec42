#include "RIRurud/ViolinBoard.h"

namespace RIRurud {

ViolinBoard::ViolinBoard(QWidget* parent)
    : BoardBase(QString::fromLatin1(BoardTables::kViolin.name), parent)
{
    initNotes();
    createLayers();
}

void ViolinBoard::initNotes()
{
    fillNotes(BoardTables::kViolin);
}

QString ViolinBoard::positionToNote(int x, int y) const
{
    return noteInTable(BoardTables::kViolin, x, y);
}

} // namespace RIRurud
