#pragma once

#include <QString>

namespace QMMultiMedia {

// Settings keys of the multimedia library (stored through the application object, which puts the
// application name before each).
namespace SettingsKeys {
inline QString soundMute() { return QStringLiteral("/SoundMute"); }
inline QString soundVolume() { return QStringLiteral("/SoundVolume"); }
} // namespace SettingsKeys

// Fixed places outside the program.
namespace ExternalPaths {
// The LAME MP3 encoder as Debian installs it.
inline QString lameEncoder() { return QStringLiteral("/usr/bin/lame"); }
} // namespace ExternalPaths

} // namespace QMMultiMedia
