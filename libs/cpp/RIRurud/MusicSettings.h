#pragma once

// Settings keys of the music library, named once (stored through the application object, which
// puts the application name before each).

#include <QString>

namespace RIRurud {
namespace SettingsKeys {

// Chord book: whether a click on a transposer tab sounds the chord (bool, default true), and the
// stored favourite chord sequences ("FavoritesCount", int, default 1; "Favorite0" ... as
// name:entry,entry,...).
inline QString transposerSoundOn() { return QStringLiteral("TransposerSoundOn"); }
inline QString favoritesCount() { return QStringLiteral("FavoritesCount"); }
inline QString favoritePrefix() { return QStringLiteral("Favorite"); }
inline QString favorite(int i) { return favoritePrefix() + QString::number(i); }

} // namespace SettingsKeys
} // namespace RIRurud
