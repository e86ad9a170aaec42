#include "RIRurud/BanjoBoard.h"

namespace RIRurud {

BanjoBoard::BanjoBoard(QWidget* parent)
    : BoardBase(QString::fromLatin1(BoardTables::kBanjo.name), parent)
{
    initNotes();
    createLayers();
}

void BanjoBoard::initNotes()
{
    fillNotes(BoardTables::kBanjo);
}

QString BanjoBoard::positionToNote(int x, int y) const
{
    return noteInTable(BoardTables::kBanjo, x, y);
}

} // namespace RIRurud
