#pragma once

// The settings keys of the tuners, named once. All are read and written through
// REZirudid::App::settingsValue / setSettingsValue, so they are stored under the application name.

#include <QString>

namespace RIRurud {
namespace TunerSettings {

inline QString pitch() { return QStringLiteral("Pitch"); }     // int, Hz of A4, 440
inline QString repeat() { return QStringLiteral("Repeat"); }   // bool, false
// The tuner window's size; the same keys as the main window's, with defaults of its own.
inline QString width() { return QStringLiteral("Width"); }     // int, 736
inline QString height() { return QStringLiteral("Height"); }   // int, 636

inline constexpr int kDefaultWidth = 736;
inline constexpr int kDefaultHeight = 636;

} // namespace TunerSettings
} // namespace RIRurud
