#include "RIRurud/MandolinBoard.h"

namespace RIRurud {

MandolinBoard::MandolinBoard(QWidget* parent)
    : BoardBase(QString::fromLatin1(BoardTables::kMandolin.name), parent)
{
    initNotes();
    createLayers();
}

void MandolinBoard::initNotes()
{
    fillNotes(BoardTables::kMandolin);
}

QString MandolinBoard::positionToNote(int x, int y) const
{
    return noteInTable(BoardTables::kMandolin, x, y);
}

} // namespace RIRurud
