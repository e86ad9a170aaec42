#pragma once

#include <QList>

namespace REZirudid {

// The arithmetic of the start-up reminder, apart from any window.
namespace Reminder {

enum Kind {
    None = 0,
    Rate = 1,       // rate the application in the store
    Share = 2,      // tell friends (share dialog)
    Join = 4,       // join the maker's community
    StoreRate = 8   // rate in a store build, share otherwise
};

// The kinds a mask offers, each once, in the order rate, share, join. StoreRate resolves to Rate
// in a store build and to Share otherwise.
QList<Kind> candidates(int kinds, bool storeBuild);

// One kind out of the mask, every candidate equally likely: pick is any non-negative number (a
// random draw); the result is candidates[pick % count]. None when the mask offers nothing.
Kind choose(int kinds, bool storeBuild, unsigned pick);

// Whether the start with this counter shows the reminder: only when reminders are on and the
// counter is a multiple of a positive interval. An interval of 0 or less never reminds.
bool isDue(bool enabled, int counter, int interval);

} // namespace Reminder
} // namespace REZirudid
