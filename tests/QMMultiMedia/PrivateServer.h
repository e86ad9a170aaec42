#pragma once

// A PulseAudio server of the test's own, on a socket in a temporary folder, with a null sink
// "back" as its default sink: a test may kill it without touching the server other tests share.
// Point PULSE_SERVER at socketUrl() before anything opens the sound system.

#include <QProcess>
#include <QTemporaryDir>

namespace TestAudio {

class PrivateServer
{
public:
    PrivateServer();
    ~PrivateServer();

    // True when a pulseaudio program is there to run.
    static bool available();
    QString socketUrl() const;
    // Starts the server and waits until it answers; false (with the reason) when it does not.
    bool start(QString* why);
    // Kills it at once (SIGKILL), as a crash would.
    void kill();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

} // namespace TestAudio
