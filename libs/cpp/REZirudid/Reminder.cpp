#include "REZirudid/Reminder.h"

namespace REZirudid {
namespace Reminder {

QList<Kind> candidates(int kinds, bool storeBuild)
{
    QList<Kind> list;
    auto add = [&list](Kind kind) {
        if (!list.contains(kind))
            list.append(kind);
    };
    if (kinds & Rate)
        add(Rate);
    if (kinds & StoreRate && storeBuild)
        add(Rate);
    if (kinds & Share)
        add(Share);
    if (kinds & StoreRate && !storeBuild)
        add(Share);
    if (kinds & Join)
        add(Join);
    return list;
}

Kind choose(int kinds, bool storeBuild, unsigned pick)
{
    const QList<Kind> list = candidates(kinds, storeBuild);
    if (list.isEmpty())
        return None;
    return list.at(int(pick % unsigned(list.size())));
}

bool isDue(bool enabled, int counter, int interval)
{
    if (!enabled || interval <= 0)
        return false;
    return counter % interval == 0;
}

} // namespace Reminder
} // namespace REZirudid
