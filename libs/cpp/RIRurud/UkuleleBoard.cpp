#include "RIRurud/UkuleleBoard.h"

namespace RIRurud {

UkuleleBoard::UkuleleBoard(QWidget* parent)
    : BoardBase(QString::fromLatin1(BoardTables::kUkulele.name), parent)
{
    initNotes();
    createLayers();
}

void UkuleleBoard::initNotes()
{
    fillNotes(BoardTables::kUkulele);
}

QString UkuleleBoard::positionToNote(int x, int y) const
{
    return noteInTable(BoardTables::kUkulele, x, y);
}

} // namespace RIRurud
