#pragma once

namespace QMMultiMedia {

// A log of the playback stream: what is written to it, what the server says of it (its reports,
// and when it ran dry) and how the engine's model of its clock moves, to find out why a stream ran
// dry or a sound came at another time than it was given. TONARIX_SOUND_LOG names its file (%p in it
// stands for the process id); without it nothing is written. Each line begins with the steady
// clock's time in milliseconds.
void logStream(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace QMMultiMedia
