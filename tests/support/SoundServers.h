#pragma once

// The sound servers tests play to. scripts/services.sh starts a PulseAudio and a PipeWire of the run's
// own and says where they listen (TONARIX_PULSEAUDIO_SERVER, TONARIX_PIPEWIRE_SERVER); a test run
// registered with TONARIX_SOUND_SERVER=pulseaudio or =pipewire plays to that one. Some tests start
// a PulseAudio of their own.

#include <QProcess>
#include <QString>

namespace TestSupport {

// Points PULSE_SERVER at the server TONARIX_SOUND_SERVER names, before anything connects (the test
// mains call it first). Without TONARIX_SOUND_SERVER, PULSE_SERVER stays as it is. When the server
// named is not known, PULSE_SERVER leads nowhere and chosenSoundServerMissing() says why.
void chooseSoundServer();
// Why the server TONARIX_SOUND_SERVER names cannot be played to; empty when it can or none is named.
QString chosenSoundServerMissing();
// The server PULSE_SERVER leads to, as `pactl info` names it: "<Server Name>, server version
// <Server Version>"; empty when none answers.
QString soundServerDescription();

// scripts/bench runs a benchmark that plays sound once on each server; the runs after the first have
// TONARIX_BENCH_SOUND_ONLY=1 and measure only what depends on the server.
bool benchSoundOnly();

// The environment for a sound server a test starts, with its runtime and state in `folder`: it never
// reaches a desktop's session bus nor starts one (D-Bus autolaunch through the X display, which can
// take seconds), since it has no DISPLAY and a bus address that leads nowhere.
QProcessEnvironment serverEnvironment(const QString& folder);

// Starts a PulseAudio of the test's own in `folder` with a null sink "back" (44.1 kHz, stereo) as
// its default sink, listening on `socket` once the sink is there. False when pulseaudio does not run.
bool startPulseAudio(QProcess& server, const QString& folder, const QString& socket);

} // namespace TestSupport
