#pragma once

// The fretted boards the tests run over, by instrument name, whatever their class: the guitar board
// does what the board base does without deriving from it, so a test body is a generic lambda that
// compiles for both.

#include "RIRurud/BalalaikaBoard.h"
#include "RIRurud/BanjoBoard.h"
#include "RIRurud/BassBoard.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/GuitarBoard.h"
#include "RIRurud/MandolinBoard.h"
#include "RIRurud/UkuleleBoard.h"
#include "RIRurud/ViolinBoard.h"

#include <QStringList>

#include <memory>

namespace BoardsUnderTest {

inline QStringList frettedBoards()
{
    QStringList names;
    for (const RIRurud::BoardTables::BoardTable* table : RIRurud::BoardTables::kAllBoards)
        names << QString::fromLatin1(table->name);
    return names;
}

inline const RIRurud::BoardTables::BoardTable& tableOf(const QString& name)
{
    const RIRurud::BoardTables::BoardTable* table = RIRurud::BoardTables::boardNamed(qPrintable(name));
    if (!table)
        qFatal("no board table named %s", qPrintable(name));
    return *table;
}

// Runs f(board&) on a new board of the named instrument.
template <typename F>
void withFrettedBoard(const QString& name, F&& f)
{
    using namespace RIRurud;
    if (name == QLatin1String("Guitar")) {
        GuitarBoard board;
        f(board);
        return;
    }
    std::unique_ptr<BoardBase> board;
    if (name == QLatin1String("Balalaika"))
        board = std::make_unique<BalalaikaBoard>();
    else if (name == QLatin1String("Banjo"))
        board = std::make_unique<BanjoBoard>();
    else if (name == QLatin1String("Mandolin"))
        board = std::make_unique<MandolinBoard>();
    else if (name == QLatin1String("Ukulele"))
        board = std::make_unique<UkuleleBoard>();
    else if (name == QLatin1String("Violin"))
        board = std::make_unique<ViolinBoard>();
    else if (name == QLatin1String("Bass"))
        board = std::make_unique<BassBoard>();
    else
        qFatal("no fretted board named %s", qPrintable(name));
    f(*board);
}

} // namespace BoardsUnderTest
